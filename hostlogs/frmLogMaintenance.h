#pragma once

#include <QDialog>

class QCheckBox;
class QFileSystemWatcher;
class QLineEdit;
class QListWidget;
class QPushButton;

// Two log folders side by side: copy or move files between them, send one to
// the trash, or look at one's summary. Starts on Kestrel's own LogFiles
// folder (source) and the host program's Logs folder (destination).
class frmLogMaintenance : public QDialog
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Log File Maintenance");
    static constexpr qint16 ShownPathLength = 40;

    explicit frmLogMaintenance(QWidget *parent = nullptr);

    // Opens the dialog over the owner, modal to it, centred on the main window.
    static frmLogMaintenance *showFor(QWidget *owner);

    enum Side { Source, Destination };
    void setFolder(Side side, const QString &folder);
    QString folder(Side side) const { return m_folders[side]; }
    void refreshLists();

    // "<" (0) copies the destination's selected file to the source folder,
    // ">" (1) the source's to the destination; "<<" (2) and ">>" (3) do the
    // same for every file of that side. "Move Files" removes each copied-from
    // file once its copy is complete.
    void cmdMove_Click(int index);
    void cmdDelete_Click(Side side);
    void cmdDetails_Click(Side side);
    void cmdBrowse_Click(Side side);

    QLineEdit *txtSourceDir = nullptr;
    QLineEdit *txtDestDir = nullptr;
    QListWidget *flSource = nullptr;
    QListWidget *flDest = nullptr;
    QPushButton *cmdMove[4] = {};
    QCheckBox *chkMoveFiles = nullptr;
    QPushButton *cmdOK = nullptr;

    // OK, Esc or the close button while files are on their way asks the
    // transfer to stop after the file in hand; the window closes once it has.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QListWidget *list(Side side) const { return side == Source ? flSource : flDest; }
    QLineEdit *pathBox(Side side) const { return side == Source ? txtSourceDir : txtDestDir; }
    QString selectedPath(Side side) const;
    void fillList(Side side);
    void transfer(Side from, const QStringList &names);

    QString m_folders[2];
    QFileSystemWatcher *m_watcher = nullptr;
    // A transfer lets events through between files: nothing may start another
    // or take the window away under it.
    bool m_transferring = false;
    bool m_closeAsked = false;
    int m_closeResult = Rejected;
};
