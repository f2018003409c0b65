#pragma once

#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>

// A table view for a model that changes many times a second. Changes from the
// model repaint at once when the view has been quiet, and otherwise at most
// once per interval: a busy feed cannot keep the view painting all the time.
// What the user does (scrolling, clicking, resizing) repaints at once as in
// any table view.
class CalmTableView : public QTableView
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 250;

    explicit CalmTableView(QWidget *parent = nullptr);

    void doItemsLayout() override;

    // Model repaints taken at once and put off since the view was made.
    int immediateRepaints() const { return m_immediate; }
    int deferredRepaints() const { return m_deferred; }

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    // True when the model's change may repaint now; otherwise remembers it.
    bool takeNow();
    void catchUp();

    QTimer m_quiet;
    bool m_repaintDue = false;
    bool m_layoutDue = false;
    bool m_rowsInserted = false;
    int m_immediate = 0;
    int m_deferred = 0;
};
