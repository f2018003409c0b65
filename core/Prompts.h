#pragma once

#include <QColor>
#include <QString>

class QPrinter;

// Every question, message, file and folder choice goes through this port so
// windows never block a test on a modal dialog.
class Prompts
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompts() = default;

    virtual Answer message(const QString &text, const QString &title,
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

    // Each returns the chosen path, or empty when the user cancels.
    virtual QString openFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(const QString &title, const QString &folder,
                                 const QString &filter, const QString &suggestedName) = 0;
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
    // The printer dialog; true when the user accepts and the printer is set up.
    virtual bool choosePrinter(QPrinter *printer, const QString &title) = 0;
    // The colour picker opened on a colour; an invalid colour when the user
    // cancels (and from any prompts that cannot show one).
    virtual QColor chooseColour(const QColor &initial, const QString &title)
    {
        Q_UNUSED(initial);
        Q_UNUSED(title);
        return {};
    }

    // False for unattended runs, where nothing may wait for a person: a
    // window that would ask (the options dialog at first start) is not shown.
    virtual bool interactive() const { return true; }

    // The program-wide instance; tests install a scripted one.
    static Prompts &instance();
    static void install(Prompts *prompts);
};
