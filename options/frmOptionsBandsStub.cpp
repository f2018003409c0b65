// temporary, not committed
#include "options/frmOptions.h"
void frmOptions::fillBands() {}
void frmOptions::editBand(QTreeWidgetItem *) {}
void frmOptions::cmdReset_Click() {}
void frmOptions::applyBands() {}
