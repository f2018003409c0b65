#include "core/WidgetPrompts.h"

#include "core/Utilities.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

// The window a dialog belongs over. While the program is not the active
// application (a start from a terminal, the loading sequence) there is no
// active window, and a dialog without a parent opens in the screen's corner:
// the modal dialog in front, else the largest visible window, takes it.
QWidget *owner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    QWidget *largest = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && !window->isMinimized() && window->windowType() != Qt::ToolTip
            && window->windowType() != Qt::Popup
            && (!largest || window->width() * window->height() > largest->width() * largest->height()))
            largest = window;
    return largest;
}

} // namespace

Prompts::Answer WidgetPrompts::message(const QString &text, const QString &title, Buttons buttons,
                                       Icon icon)
{
    QMessageBox box(owner());
    // Messages may quote callsigns, statuses and file names: never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setWindowTitle(title);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

bool WidgetPrompts::previewPrint(QPrinter *printer, const QString &title,
                                 const std::function<void(QPrinter *)> &paint)
{
    QPrintPreviewDialog dialog(printer, owner());
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter *p) { paint(p); });
    dialog.exec();
    return true;
}

int WidgetPrompts::choose(const QString &text, const QString &title, const QStringList &choices)
{
    QMessageBox box(owner());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setWindowTitle(title);
    box.setIcon(QMessageBox::Question);
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

QString WidgetPrompts::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(owner(), title, folder, filter);
}

QString WidgetPrompts::saveFileName(const QString &title, const QString &folder, const QString &filter,
                                    const QString &suggestedName)
{
    QFileDialog dialog(owner(), title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
    // A name typed bare gets the extension of the chosen filter, so the file
    // is listed when it is opened again (and overwriting it is asked about).
    const auto suffixOf = [](const QString &chosen) {
        return GetFilenameExt(WithDefaultExtension(QStringLiteral("/x"), chosen));
    };
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString &chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString WidgetPrompts::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(owner(), title, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

bool WidgetPrompts::choosePrinter(QPrinter *printer, const QString &title)
{
    QPrintDialog dialog(printer, owner());
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

QColor WidgetPrompts::chooseColour(const QColor &initial, const QString &title)
{
    return QColorDialog::getColor(initial, owner(), title);
}
