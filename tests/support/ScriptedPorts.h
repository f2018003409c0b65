#pragma once

#include "core/Clock.h"
#include "core/Prompts.h"
#include "core/SettingsStore.h"

#include <QHash>
#include <QQueue>
#include <QStringList>

// Prompts that answer from a script and remember every message shown.
class ScriptedPrompts : public Prompts
{
public:
    ScriptedPrompts() { Prompts::install(this); }
    ~ScriptedPrompts() override { Prompts::install(nullptr); }

    struct Shown
    {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };
    QList<Shown> shown;
    QQueue<Answer> answers;      // used in order; Ok/No when empty
    QQueue<QString> fileAnswers; // for open/save/folder choices; empty = cancel
    QStringList fileTitles;
    QStringList fileFolders;  // the starting folder of each file dialog
    QStringList fileFilters;  // and its filter (none for a folder choice)

    Answer message(const QString &text, const QString &title, Buttons buttons, Icon icon) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder, const QString &filter,
                         const QString &suggestedName) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    bool choosePrinter(QPrinter *printer, const QString &title) override;
    // Colour choices, used in order; an invalid colour (or none left) = cancel.
    QColor chooseColour(const QColor &initial, const QString &title) override;
    QQueue<QColor> colourAnswers;
    QList<QColor> colourStarts;  // the colour each picker opened on
    // Questions with named courses: what was asked, and the answers in
    // order (an index; none left = the question closed).
    int choose(const QString &text, const QString &title, const QStringList &choices) override;
    // A preview paints once, to printFile when that is set (else a scratch PDF).
    bool previewPrint(QPrinter *printer, const QString &title,
                      const std::function<void(QPrinter *)> &paint) override;
    QStringList previewTitles;
    QStringList chooseTexts;
    QList<QStringList> chooseOffered;
    QQueue<int> chooseAnswers;
    bool interactive() const override { return attended; }
    bool attended = true;
    bool printAnswer = false;
    QString printFile;  // when set, an accepted print goes to this PDF file

    QStringList texts() const;
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at) : time(std::move(at)) { Clock::install(this); }
    ~FixedClock() override { Clock::install(nullptr); }
    QDateTime now() const override { return time; }
    QDateTime time;
};

// A settings store in memory, keyed "application/section/key" (case-insensitive).
class MemorySettingsStore : public SettingsStore
{
public:
    MemorySettingsStore() { SettingsStore::install(this); }
    ~MemorySettingsStore() override { SettingsStore::install(nullptr); }

    QHash<QString, QString> values;
    int writes = 0;

    bool read(const QString &application, const QString &section, const QString &key,
              QString *value) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;
    void removeSection(const QString &application, const QString &section) override;

    static QString id(const QString &application, const QString &section, const QString &key);
};
