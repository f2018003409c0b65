#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

#include "dx/PrefixDatabase.h"

// The prefix list: one tickable row per data line of prefix.txt, nine
// columns. The last column holds "A" while the row is ticked, so that
// sorting on it groups the ticked rows. Whether any row of a given first
// field is ticked is answered from a count, not by walking the rows.
class PrefixListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int CheckedColumn = 8;
    static inline const QString TickedMark = QStringLiteral("A");

    using QAbstractTableModel::QAbstractTableModel;

    static const QStringList &headings();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // As text, letter case ignored; rows that compare equal keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void addRow(const PrefixLine &line, bool ticked);
    void clear();
    void setTicked(int row, bool ticked);
    bool isTicked(int row) const { return m_rows.at(row).ticked; }
    const PrefixLine &line(int row) const { return m_rows.at(row).line; }
    // True when a row whose first field is exactly this text is ticked.
    bool isTicked(const QString &fullPrefix) const { return m_tickedCount.value(fullPrefix) > 0; }

private:
    struct Row
    {
        PrefixLine line;
        bool ticked = false;
    };
    QList<Row> m_rows;
    QHash<QString, int> m_tickedCount;
};
