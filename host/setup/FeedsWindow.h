#pragma once

#include "host/HostConfig.h"

#include <QDialog>
#include <QTimer>

class EmbeddedHost;
class FeedForm;
class QLabel;
class QPushButton;
class QTreeWidget;

// "Feeds": every feed of the host with its live state, and the form of the
// one selected. Apply writes the feeds and the host restarts the one that
// changed; the others go on undisturbed.
class FeedsWindow : public QDialog
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Feeds");
    enum Column { Name, Kind, State, Since, PerMinute, LastError, ColumnCount };

    explicit FeedsWindow(EmbeddedHost *host, QWidget *parent = nullptr);

    QTreeWidget *lstFeeds;
    FeedForm *form;
    QLabel *lblProblem;
    QPushButton *btnAdd;
    QPushButton *btnRemove;
    QPushButton *btnEnable;
    QPushButton *btnReconnect;
    QPushButton *btnApply;

    // The form's feed written and applied (a new one added); false, the
    // field refused with a message, when a field does not read.
    bool apply();
    // The state column of a feed, as the list shows it.
    QString stateOf(const QString &section) const;

private:
    void reload();
    void refreshStates();
    void selectionChanged();
    void startNew();
    void removeSelected();
    void toggleSelected();
    bool write(const QList<FeedSettings> &feeds);
    int selectedIndex() const;

    EmbeddedHost *m_host;
    QList<FeedSettings> m_feeds;
    int m_editing = -1;  // index in m_feeds, -1 for a new feed
    QTimer m_tick;
};
