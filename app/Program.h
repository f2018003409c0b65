#pragma once

#include <memory>

class frmMain;
class InstanceDoorbell;
class SingleInstance;

// Kestrel as it starts: one copy per settings folder, the splash, the data
// folders and their default files, the wiring of the subsystems and the
// shown main window, whose loading timer then runs the loading sequence.
// The kestrel program and the exerciser start it the same way.
class Program
{
public:
    Program();
    ~Program();

    // Null when another copy was running and has been brought to the front.
    frmMain *mainWindow() const { return m_main.get(); }

private:
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<InstanceDoorbell> m_doorbell;
    std::unique_ptr<frmMain> m_main;
};
