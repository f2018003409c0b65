// What a user may type or paste into a position or callsign field: nothing
// crashes or hangs, and whatever passes checks the same again unchanged.
#include "options/Callsign.h"
#include "options/NationalGrid.h"
#include "options/PositionFormats.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>

TEST(PositionGarbage, FieldsThatPassAreStableAndInRange)
{
    QRandomGenerator random(1402026);
    const char alphabet[] = "0123456789..  NSEWnsew-+SUTQIHVabc\t\xfd";
    int passed = 0;
    for (int round = 0; round < 20000; ++round) {
        QString text;
        const int length = int(random.bounded(14));
        for (int i = 0; i < length; ++i)
            text += QLatin1Char(alphabet[random.bounded(int(sizeof alphabet - 1))]);
        for (bool longitude : {false, true}) {
            QString field = text, partner;
            if (strValidateLatLon(field, partner, longitude) != PositionCheck::Ok)
                continue;
            ++passed;
            QString again = field, other = partner;
            ASSERT_EQ(strValidateLatLon(again, other, longitude), PositionCheck::Ok) << text.toStdString();
            ASSERT_EQ(again, field) << text.toStdString();
            ASSERT_LE(std::fabs(sConvertPos(field)), (longitude ? 180 : 90) * 60.0f) << field.toStdString();
        }
        QString reference = text;
        double northing = 0, easting = 0;
        if (ParseGridReference(reference, &northing, &easting)) {
            double latitude = 0, longitude = 0;
            GridToLatLon(easting, northing, &latitude, &longitude);
            ASSERT_TRUE(std::isfinite(latitude) && std::isfinite(longitude)) << text.toStdString();
        }
        (void)ValidateCallsign(text);
    }
    EXPECT_GT(passed, 100) << "the alphabet makes valid positions too";
}
