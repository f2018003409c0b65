#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

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
    // The print preview of what paint draws on the printer, for as long as
    // the user looks at it; false when no preview can be shown.
    virtual bool previewPrint(QPrinter *printer, const QString &title,
                              const std::function<void(QPrinter *)> &paint)
    {
        Q_UNUSED(printer);
        Q_UNUSED(title);
        Q_UNUSED(paint);
        return false;
    }
    // The colour picker opened on a colour; an invalid colour when the user
    // cancels (and from any prompts that cannot show one).
    virtual QColor chooseColour(const QColor &initial, const QString &title)
    {
        Q_UNUSED(initial);
        Q_UNUSED(title);
        return {};
    }

    // A question answered by one of several named courses: the index of the
    // one taken, or -1 when the user closes the question instead.
    virtual int choose(const QString &text, const QString &title, const QStringList &choices)
    {
        Q_UNUSED(text);
        Q_UNUSED(title);
        Q_UNUSED(choices);
        return -1;
    }

    // False for unattended runs, where nothing may wait for a person: a
    // window that would ask (the options dialog at first start) is not shown.
    virtual bool interactive() const { return true; }

    // The program-wide instance; tests install a scripted one.
    static Prompts &instance();
    static void install(Prompts *prompts);
};
