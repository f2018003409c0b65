// Writes the knobs of TwirlFormCases.h into a form file the way the form
// editor saves it: each knob's changed properties only, with the values the
// knob shows after the edits, in the order the class declares them.
#include "TwirlFormCases.h"
#include "knob/CTwirlCtrl.h"

#include <QApplication>
#include <QFile>
#include <QMetaProperty>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void writeKnob(QXmlStreamWriter &xml, const twirlform::Case &c, int row)
{
    CTwirlCtrl knob;
    const QMetaObject *mo = knob.metaObject();
    std::vector<int> changed;
    for (const twirlform::Edit &e : c.edits) {
        const int index = mo->indexOfProperty(e.property);
        mo->property(index).write(&knob, e.value);
        if (std::find(changed.begin(), changed.end(), index) == changed.end())
            changed.push_back(index);
    }
    std::sort(changed.begin(), changed.end());

    xml.writeStartElement(QStringLiteral("item"));
    xml.writeAttribute(QStringLiteral("row"), QString::number(row));
    xml.writeAttribute(QStringLiteral("column"), QStringLiteral("0"));
    xml.writeStartElement(QStringLiteral("widget"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("CTwirlCtrl"));
    xml.writeAttribute(QStringLiteral("name"), QString::fromLatin1(c.name));
    for (int index : changed) {
        const QMetaProperty p = mo->property(index);
        xml.writeStartElement(QStringLiteral("property"));
        xml.writeAttribute(QStringLiteral("name"), QString::fromLatin1(p.name()));
        const QVariant v = p.read(&knob);
        if (p.metaType().id() == QMetaType::Bool)
            xml.writeTextElement(QStringLiteral("bool"),
                                 v.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        else
            xml.writeTextElement(QStringLiteral("number"), QString::number(v.toInt()));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: twirl_form_gen OUTPUT.ui\n");
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("ui"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("4.0"));
    xml.writeTextElement(QStringLiteral("class"), QStringLiteral("TwirlRoundTrip"));
    xml.writeStartElement(QStringLiteral("widget"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("QWidget"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("TwirlRoundTrip"));
    xml.writeStartElement(QStringLiteral("layout"));
    xml.writeAttribute(QStringLiteral("class"), QStringLiteral("QGridLayout"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("grid"));
    int row = 0;
    for (const twirlform::Case &c : twirlform::kCases)
        writeKnob(xml, c, row++);
    xml.writeEndElement();   // layout
    xml.writeEndElement();   // widget
    xml.writeStartElement(QStringLiteral("customwidgets"));
    xml.writeStartElement(QStringLiteral("customwidget"));
    xml.writeTextElement(QStringLiteral("class"), QStringLiteral("CTwirlCtrl"));
    xml.writeTextElement(QStringLiteral("extends"), QStringLiteral("QWidget"));
    xml.writeTextElement(QStringLiteral("header"), QStringLiteral("CTwirlCtrl.h"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEmptyElement(QStringLiteral("resources"));
    xml.writeEmptyElement(QStringLiteral("connections"));
    xml.writeEndElement();   // ui
    xml.writeEndDocument();
    return out.error() == QFileDevice::NoError ? 0 : 1;
}
