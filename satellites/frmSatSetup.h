#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class frmSatStatus;

// "Satellite Setup": pick satellites from the element table, tick the ones
// to place on the host's map, and hand the choice to the tracking control.
class frmSatSetup : public QDialog
{
    Q_OBJECT
public:
    explicit frmSatSetup(QWidget *parent = nullptr);

    // Shows the dialog modally over the owner.
    static void showFor(QWidget *owner);

    // Fills both lists and the date label from the element table and the
    // selection. A refresh keeps the selected list as the user left it: the
    // selection's flags belong to the table before the refresh.
    void SetupSatList(bool listSelection = true);

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdRemoveAll_Click();
    void cmdRefresh_Click();
    void cmdOK_Click();
    void cmdClear_Click();

    QListWidget *lstSats = nullptr;
    QTreeWidget *lstSelected = nullptr;
    QLabel *lblDate = nullptr;
    QLabel *lblAvailable = nullptr;

private:
    QTreeWidgetItem *addSelected(const QString &name, int tag, bool ticked);
    void removeEveryPlacedObject(bool refresh);
    frmSatStatus *statusWindow() const;
};
