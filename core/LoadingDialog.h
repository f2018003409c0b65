#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small progress window long operations show: "Loading Data", a label,
// a progress bar and "Cancel". The operation polls cancelled() after each
// item, having let pending events run through step(), and calls finish()
// when it stops, whether done or cancelled.
class LoadingDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LoadingDialog(QWidget *parent = nullptr);

    void setLabel(const QString &text);
    void setRange(int maximum);
    void setCancelEnabled(bool enabled);
    // Shows the dialog without making it modal.
    void start();
    // Sets the bar, repaints and lets pending events run.
    void step(int value);
    // The work is over: the window goes (and is deleted when it was made to
    // be). close() alone would only cancel, as Esc does.
    void finish();

    bool cancelled() const { return m_cancelled; }
    QLabel *label() const { return m_label; }
    QProgressBar *bar() const { return m_bar; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Esc and the close box mean Cancel: they stop the work (or do nothing
    // while Cancel is disabled), never just hide it.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_label;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    bool m_cancelled = false;
    bool m_finished = false;
};
