#include "hostlogs/frmLogDetails.h"

#include "core/ErrorReport.h"
#include "core/FixedFont.h"
#include "core/Prompts.h"
#include "hostlogs/LogDetails.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
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
    lstStations = new QListView(frame);
    lstStations->setModel(&m_stations);
    lstStations->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstStations->setObjectName(QStringLiteral("lstStations"));
    // The tally lines up in columns of blanks, so every character is as wide as the next.
    lstStations->setFont(fixedPitchFont());
    lstStations->setUniformItemSizes(true);
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

// What the reading thread hands back: everything the window shows, made
// ready there so that the user-interface thread only fills it in.
struct frmLogDetails::Reading
{
    bool readable = false;
    bool valid = false;
    QString error;
    QString start, end;
    QStringList lines;

    bool usable() const { return readable && valid; }

    static Reading of(const QString &path)
    {
        Reading result;
        LogDetails::Summary summary;
        result.readable = LogDetails::examineFile(path, &summary, &result.error);
        result.valid = summary.valid;
        if (result.usable()) {
            result.start = LogDetails::displayTime(summary.start);
            result.end = LogDetails::displayTime(summary.end);
            result.lines = LogDetails::stationLines(summary.stations);
        }
        return result;
    }
};

bool frmLogDetails::examine(const QString &path)
{
    return fill(Reading::of(path));
}

bool frmLogDetails::fill(const Reading &result)
{
    if (!result.readable) {
        reportError(QStringLiteral("Form_Activate"), result.error);
        return false;
    }
    if (!result.valid) {
        Prompts::instance().message(InvalidText, InvalidTitle, Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return false;
    }
    txtLogStartDate->setText(result.start);
    txtLogEndDate->setText(result.end);
    m_stations.setStringList(result.lines);
    return true;
}

frmLogDetails *frmLogDetails::showFor(QWidget *owner, const QString &path)
{
    auto *window = new frmLogDetails(owner);
    window->setAttribute(Qt::WA_DeleteOnClose, true);
    window->m_reading = true;
    window->m_stations.setStringList({QStringLiteral("Reading %1...").arg(QFileInfo(path).fileName())});
    auto *watcher = new QFutureWatcher<Reading>(window);
    connect(watcher, &QFutureWatcher<Reading>::finished, window, [window, watcher] {
        window->m_reading = false;
        const Reading result = watcher->result();
        // Gone before the warning, which then stands over the owner as before.
        if (!result.usable())
            window->close();
        window->fill(result);
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(&Reading::of, path));
    window->open();
    return window;
}
