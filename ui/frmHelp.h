#pragma once

#include <QWidget>

#include "ui/HelpGuide.h"

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

// The user guide's window: a list of the pages (or, while a search is typed,
// of the pages that match it) beside the page itself. One window for the
// program; a dialog that holds the input gets one of its own, which closes
// with it.
class frmHelp : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Kestrel Help");

    // Opens the guide window at a page (the contents when empty) and brings
    // it forward; null when the guide is not installed.
    static frmHelp *open(const QString &page = {});
    // Opens it with the search field ready for typing.
    static frmHelp *openSearch();
    // Opens the page that describes the window the widget belongs to.
    static frmHelp *openFor(const QWidget *widget);
    // The page for a widget: that of the nearest window round it that has one.
    static QString pageFor(const QWidget *widget, const HelpGuide &guide);

    // F1 anywhere in the program opens the page of the window it was pressed in.
    static void installHelpKey(QObject *owner);

    void showPage(const QString &file);
    QString currentPage() const;
    const HelpGuide &guide() const { return m_guide; }

    QLineEdit *txtSearch = nullptr;
    QListWidget *lstTopics = nullptr;
    QTextBrowser *txtPage = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit frmHelp(const HelpGuide &guide, QWidget *parent);
    static frmHelp *window();
    void listTopics();
    void openTopic(int row);
    void markQuery();
    void bringForward();

    HelpGuide m_guide;
    QString m_query;  // the search whose words are marked on the page shown
};
