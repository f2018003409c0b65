#include "ScriptedPorts.h"

#include <QPrinter>
#include <QTemporaryDir>

Prompts::Answer ScriptedPrompts::message(const QString &text, const QString &title, Buttons buttons,
                                         Icon icon)
{
    shown.append({text, title, buttons, icon});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::No;
}

QString ScriptedPrompts::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    fileTitles << title;
    fileFolders << folder;
    fileFilters << filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedPrompts::saveFileName(const QString &title, const QString &folder, const QString &filter,
                                      const QString &)
{
    fileTitles << title;
    fileFolders << folder;
    fileFilters << filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedPrompts::chooseFolder(const QString &title, const QString &folder)
{
    fileTitles << title;
    fileFolders << folder;
    fileFilters << QString();
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

bool ScriptedPrompts::choosePrinter(QPrinter *printer, const QString &title)
{
    fileTitles << title;
    if (printAnswer && !printFile.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printFile);
    }
    return printAnswer;
}

bool ScriptedPrompts::previewPrint(QPrinter *printer, const QString &title,
                                   const std::function<void(QPrinter *)> &paint)
{
    previewTitles << title;
    // Never the system's printer: a test machine may have none.
    QTemporaryDir scratch;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printFile.isEmpty() ? scratch.filePath(QStringLiteral("preview.pdf")) : printFile);
    paint(printer);
    return true;
}

QColor ScriptedPrompts::chooseColour(const QColor &initial, const QString &title)
{
    fileTitles << title;
    colourStarts << initial;
    return colourAnswers.isEmpty() ? QColor() : colourAnswers.dequeue();
}

int ScriptedPrompts::choose(const QString &text, const QString &, const QStringList &choices)
{
    chooseTexts << text;
    chooseOffered << choices;
    return chooseAnswers.isEmpty() ? -1 : chooseAnswers.dequeue();
}

QStringList ScriptedPrompts::texts() const
{
    QStringList list;
    for (const Shown &s : shown)
        list << s.text;
    return list;
}

QString MemorySettingsStore::id(const QString &application, const QString &section,
                                const QString &key)
{
    return (application + u'/' + section + u'/' + key).toLower();
}

bool MemorySettingsStore::read(const QString &application, const QString &section,
                               const QString &key, QString *value) const
{
    const auto it = values.constFind(id(application, section, key));
    if (it == values.constEnd())
        return false;
    *value = *it;
    return true;
}

void MemorySettingsStore::write(const QString &application, const QString &section,
                                const QString &key, const QString &value)
{
    ++writes;
    values.insert(id(application, section, key), value);
}

void MemorySettingsStore::removeSection(const QString &application, const QString &section)
{
    const QString prefix = (application + u'/' + section + u'/').toLower();
    for (auto it = values.begin(); it != values.end();)
        it = it.key().startsWith(prefix) ? values.erase(it) : std::next(it);
}
