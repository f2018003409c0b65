#pragma once

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QStringList>
#include <QTimer>

class QLineEdit;
class QToolButton;

// The borderless editor window that sits over one row of a list: a text box
// per column, then "Close, Don't Save", "Close and Save" and a handle to
// drag it aside. Closing collects every box's text at its column index.
class frmTp_3D : public QDialog
{
    Q_OBJECT
public:
    struct Column
    {
        int index = 0;   // the column's own index in the list
        int width = 0;   // pixels
        QString text;
    };

    static constexpr int ButtonWidth = 17;  // 253 twips

    explicit frmTp_3D(QWidget *parent = nullptr);

    // Makes one box per column, in the order given, each as high as the row.
    void setColumns(const QList<Column> &columns, int rowHeight, const QFont *font);
    // When on, the window closes by itself once the pointer is outside it.
    void setHoverClose(bool on);

    // Shared between edits: true when the user chose not to save.
    static bool aborted();
    static void setAborted(bool on);

    // Texts by column index, filled when the window closes.
    const QStringList &results() const { return m_results; }
    void setResultSize(int size);

    QList<QLineEdit *> txtEd;
    QToolButton *cmdJ[3] = {};
    QTimer tOutTimer;

    // One tick of the close-on-leave timer.
    void tOutTimer_Timer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void closeSaving(bool save);
    void collect();
    bool handleEvent(QEvent *event);

    QStringList m_results;
    QList<int> m_tags;
    QPoint m_dragOffset;
    QPoint m_home;
    bool m_homeKnown = false;
    bool m_dragging = false;
    bool m_collected = false;
};
