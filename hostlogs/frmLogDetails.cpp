#include "hostlogs/frmLogDetails.h"

#include "core/ErrorReport.h"
#include "core/Prompts.h"
#include "hostlogs/LogDetails.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmLogDetails::frmLogDetails(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLogDetails"));
    setWindowTitle(Caption);

    txtLogStartDate = new QLineEdit(this);
    txtLogStartDate->setObjectName(QStringLiteral("txtLogStartDate"));
    txtLogEndDate = new QLineEdit(this);
    txtLogEndDate->setObjectName(QStringLiteral("txtLogEndDate"));
    for (QLineEdit *box : {txtLogStartDate, txtLogEndDate})
        box->setReadOnly(true);

    auto *frame = new QGroupBox(QStringLiteral("Stations In Log"), this);
    frame->setObjectName(QStringLiteral("fraStations"));
    lstStations = new QListWidget(frame);
    lstStations->setObjectName(QStringLiteral("lstStations"));
    // The tally lines up in columns of blanks, so every character is as wide as the next.
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    if (!QFontInfo(fixed).fixedPitch())
        fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    lstStations->setFont(fixed);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(lstStations);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *times = new QFormLayout;
    times->addRow(QStringLiteral("Log Start date"), txtLogStartDate);
    times->addRow(QStringLiteral("Log End date"), txtLogEndDate);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(times);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    resize(340, 420);
}

bool frmLogDetails::examine(const QString &path)
{
    LogDetails::Summary summary;
    QString error;
    if (!LogDetails::examineFile(path, &summary, &error)) {
        reportError(QStringLiteral("Form_Activate"), error);
        return false;
    }
    if (!summary.valid) {
        Prompts::instance().message(InvalidText, InvalidTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }
    txtLogStartDate->setText(LogDetails::displayTime(summary.start));
    txtLogEndDate->setText(LogDetails::displayTime(summary.end));
    lstStations->clear();
    lstStations->addItems(LogDetails::stationLines(summary.stations));
    return true;
}

frmLogDetails *frmLogDetails::showFor(QWidget *owner, const QString &path)
{
    auto *window = new frmLogDetails(owner);
    window->setAttribute(Qt::WA_DeleteOnClose, true);
    if (!window->examine(path)) {
        delete window;
        return nullptr;
    }
    window->open();
    return window;
}
