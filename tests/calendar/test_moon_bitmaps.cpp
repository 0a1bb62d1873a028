// The full-moon pictures fit the disc the shading blackens.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>

#include "calendar/moon_picture.h"

namespace hinagiku {
namespace {

TEST(MoonBitmapsTest, DiscSitsWhereTheShadingExpectsIt) {
    for (MoonSize size : {MoonSize::ms64, MoonSize::ms32, MoonSize::ms16}) {
        const MoonDisc disc = moonDisc(size);
        // ":/moon/<file>" in the program; the same file in the source tree.
        const std::string resource = disc.resource;
        ASSERT_EQ(resource.rfind(":/moon/", 0), 0u);
        const std::string file = std::string(std::getenv("HINAGIKU_SOURCE_DIR")) +
                                 "/resources/moon/" + resource.substr(7);
        const QImage image(QString::fromStdString(file));
        ASSERT_FALSE(image.isNull()) << file;
        EXPECT_EQ(image.width(), disc.width);
        EXPECT_EQ(image.height(), disc.height);

        // At 180 degrees (new moon) the shading covers the whole disc: every
        // pixel it leaves is sky, every pixel it covers is moon.
        bool covered[64][64] = {};
        for (const DarkSpan& span : moonShadow(size, 180.0)) {
            for (int x = span.xBegin; x < span.xEnd; ++x)
                covered[span.y][x] = true;
        }
        for (int y = 0; y < disc.height; ++y) {
            for (int x = 0; x < disc.width; ++x) {
                const bool sky = (image.pixel(x, y) & 0xFFFFFF) == 0;
                EXPECT_EQ(sky, !covered[y][x]) << file << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace hinagiku
