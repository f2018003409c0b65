// The stock font and colours follow the application and the parent until a
// host sets them; what was set is what persists.
#include "knob/CTwirlCtrl.h"
#include "knob/TwirlPropExchange.h"
#include "TwirlTestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDataStream>

using namespace twirl;
using namespace twirltest;

namespace {

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(30, 30, 34));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    return p;
}

// A theme switch, as the windows see it once the event loop has run.
void switchPalette(const QPalette &p)
{
    QApplication::setPalette(p);
    QCoreApplication::processEvents();
}

// Restores the application's palette and font when a test ends.
struct AppLook {
    QPalette palette = QApplication::palette();
    QFont font = QApplication::font();
    ~AppLook()
    {
        QApplication::setPalette(palette);
        QApplication::setFont(font);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST(TwirlFollow, ColoursAndFontFollowTheApplicationUntilSet)
{
    AppLook restore;
    QWidget parent;
    auto *k = new CTwirlCtrl(&parent);
    k->resize(100, 100);
    k->setText(QStringLiteral("W"));
    parent.show();   // a theme change reaches the windows on screen
    EXPECT_FALSE(k->isBackColorSet());
    EXPECT_FALSE(k->isFontSet());

    switchPalette(darkPalette());   // a switch to a dark theme
    EXPECT_EQ(k->BackColor(), QColor(30, 30, 34));
    EXPECT_EQ(k->ForeColor(), QColor(230, 230, 230));
    EXPECT_EQ(at(render(*k), 2, 2), QColor(30, 30, 34));   // the corner is background

    QFont big = parent.font();
    big.setPointSize(big.pointSize() + 7);
    parent.setFont(big);                       // a parent's font
    EXPECT_EQ(k->Font().pointSize(), big.pointSize());

    // Set explicitly, they stay through the next change.
    k->setBackColor(Qt::yellow);
    QFont own = k->Font();
    own.setItalic(true);
    k->setFont(own);
    switchPalette(restore.palette);
    big.setPointSize(big.pointSize() + 3);
    parent.setFont(big);
    EXPECT_EQ(k->BackColor(), QColor(Qt::yellow));
    EXPECT_EQ(at(render(*k), 2, 2), QColor(Qt::yellow));
    EXPECT_TRUE(k->Font().italic());
    EXPECT_NE(k->Font().pointSize(), big.pointSize());
    EXPECT_EQ(k->ForeColor(), restore.palette.color(QPalette::WindowText));

    // Reset: following again.
    k->resetBackColor();
    k->resetFont();
    EXPECT_EQ(k->BackColor(), parent.palette().color(QPalette::Window));
    EXPECT_EQ(k->Font().pointSize(), big.pointSize());
}

TEST(TwirlFollow, PersistenceStoresOnlyWhatWasSet)
{
    AppLook restore;
    QWidget parent;
    auto *k = new CTwirlCtrl(&parent);
    parent.show();
    QVariantMap bag = saveToBag(*k);
    EXPECT_FALSE(bag.contains("BackColor"));
    EXPECT_FALSE(bag.contains("ForeColor"));
    EXPECT_FALSE(bag.contains("Font"));

    // A loaded bag with a colour wins over a later theme change ...
    auto *loaded = new CTwirlCtrl(&parent);
    QVariantMap withColour = bag;
    withColour["BackColor"] = QColor(Qt::red);
    EXPECT_TRUE(loadFromBag(*loaded, withColour));
    switchPalette(darkPalette());
    EXPECT_EQ(loaded->BackColor(), QColor(Qt::red));
    // ... and one without puts the knob back to following.
    EXPECT_TRUE(loadFromBag(*loaded, bag));
    EXPECT_EQ(loaded->BackColor(), QColor(30, 30, 34));

    // Through a stream, following survives too, and an explicit font stays.
    k->setForeColor(Qt::green);
    QFont f(QStringLiteral("Serif"), 17);
    k->setFont(f);
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        saveToStream(*k, out);
    }
    auto *copy = new CTwirlCtrl(&parent);
    copy->setBackColor(Qt::blue);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    EXPECT_TRUE(loadFromStream(*copy, in));
    EXPECT_FALSE(copy->isBackColorSet());
    EXPECT_EQ(copy->ForeColor(), QColor(Qt::green));
    EXPECT_EQ(copy->Font().pointSize(), 17);
    switchPalette(restore.palette);
    EXPECT_EQ(copy->BackColor(), restore.palette.color(QPalette::Window));
}
