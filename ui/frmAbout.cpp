#include "ui/frmAbout.h"

#include "core/AppInfo.h"
#include "core/EarthImage.h"
#include "core/Utilities.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtGlobal>

namespace {

const QString kCaption = QStringLiteral("About Kestrel");

QString creditsHtml()
{
    const QString earthFolder = QDir::toNativeSeparators(EarthImage::folder());
    const bool earthThere = QFileInfo::exists(EarthImage::folder() + QStringLiteral("/earth.jpg"));
    QString html;
    html += QStringLiteral(
        "<p>A desktop companion for APRS operators: the stations, weather, DX spots and satellites "
        "your APRS host program hears, in one place.</p>"
        "<h4>Licence</h4>"
        "<p>Kestrel is free software: you can redistribute it and/or modify it under the terms of the "
        "GNU General Public License as published by the Free Software Foundation, either version 3 "
        "of the License, or (at your option) any later version. It is distributed in the hope that it "
        "will be useful, but WITHOUT ANY WARRANTY; without even the implied warranty of "
        "MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. See "
        "<a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">the GNU General Public License</a> "
        "for more details.</p>"
        "<h4>Data</h4><ul>");
    html += QStringLiteral(
                "<li><b>Earth images</b>: the day image and the night lights image are from NASA's "
                "<a href=\"https://visibleearth.nasa.gov/\">Visible Earth</a> collection, which NASA "
                "publishes without copyright. They come with the Debian package <i>xplanet-images</i> "
                "and are read from %1 (%2).</li>")
                .arg(earthFolder.toHtmlEscaped(),
                     earthThere ? QStringLiteral("installed") : QStringLiteral("not installed on this computer"));
    html += QStringLiteral(
        "<li><b>Time zones</b>: the <a href=\"https://www.iana.org/time-zones\">IANA time zone "
        "database</a>, in the public domain, as the system's <i>tzdata</i> package installs it.</li>"
        "<li><b>Band plan and observer places</b>: compiled for Kestrel from published band edges and "
        "place coordinates.</li></ul>");
    html += QStringLiteral("<p>Built with <a href=\"https://www.qt.io/\">Qt</a> %1.</p>")
                .arg(QString::fromLatin1(qVersion()));
    return html;
}

} // namespace

QString frmAbout::versionText()
{
    return QStringLiteral("Version %1.%2.%3").arg(KESTREL_VERSION_MAJOR).arg(KESTREL_VERSION_MINOR).arg(KESTREL_VERSION_PATCH);
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    // The program's own icon, as the program sets it at start.
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    icon->setVisible(!QApplication::windowIcon().isNull());
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = new QLabel(AppInfo::Title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);

    txtCredits = new QTextBrowser(this);
    txtCredits->setObjectName(QStringLiteral("txtCredits"));
    txtCredits->setOpenExternalLinks(true);
    txtCredits->setHtml(creditsHtml());
    txtCredits->setFrameShape(QFrame::NoFrame);
    txtCredits->viewport()->setAutoFillBackground(false);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { systemInfo.StartSysInfo(); });

    auto *heading = new QVBoxLayout;
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    heading->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(heading, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtCredits, 1);
    layout->addLayout(buttons);
    resize(560, 520);
}

void frmAbout::showFor(QWidget *owner)
{
    frmAbout box(owner);
    CentreOnMain(&box);
    box.exec();
}
