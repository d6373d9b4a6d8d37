#include "tools/jobrender/JobRenderer.h"

#include <gtest/gtest.h>

#include "JobBuilder.h"

namespace jobrender {
namespace {

using namespace jobrender::testing;
const Rgb kWhite{255, 255, 255};
const Rgb kBlack{0, 0, 0};

// A filled square of 20 x 20 pixels at plotter units (300..500, 300..500).
std::string Square() {
    return Page() + "SP1;PA300,300;PM0;PD500,300,500,500,300,500;PM2;FP;" + kEnd;
}

TEST(JobRenderer, PageIsTheMediaAtTheChosenResolution) {
    Image img;
    const RenderResult r = RenderJobToImage(Square(), TenPluPerPixel(), img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(img.width, 200);  // width 2000 plu across
    EXPECT_EQ(img.height, 100);
    EXPECT_FALSE(r.rotated);
    EXPECT_EQ(r.pages, 1u);
    EXPECT_EQ(CountColour(img, kBlack), 400);
    EXPECT_EQ(img.at(30, 69), kBlack);  // (300, 300) is the square's lower left
    EXPECT_EQ(img.at(49, 50), kBlack);
    EXPECT_EQ(img.at(50, 50), kWhite);
    EXPECT_EQ(r.warnings.total(), 0u);
}

TEST(JobRenderer, MediaLongerThanWideIsTurnedBackUpright) {
    // HP-GL/2's X runs along the longer side: printer (X, Y) is media (Y, length - X).
    const std::string job =
        Page(2000, 1000) + "SP1;PA300,100;PM0;PD500,100,500,200,300,200;PM2;FP;" + kEnd;
    Image img;
    const RenderResult r = RenderJobToImage(job, TenPluPerPixel(), img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.rotated);
    EXPECT_EQ(img.width, 100);
    EXPECT_EQ(img.height, 200);
    // Media x = printer Y in 100..200, media y = 2000 - X in 1500..1700: rows 30..49.
    EXPECT_EQ(CountColour(img, kBlack), 200);
    EXPECT_EQ(img.at(10, 30), kBlack);
    EXPECT_EQ(img.at(19, 49), kBlack);
    EXPECT_EQ(img.at(20, 40), kWhite);
}

class CollectingSink : public BandSink {
  public:
    bool begin(int w, int h) override {
        width = w;
        image.assign(static_cast<std::size_t>(w) * h * 3, 7);
        return true;
    }
    bool band(int first, int rows, const std::uint8_t* rgb) override {
        EXPECT_EQ(first, nextRow);
        nextRow = first + rows;
        maxRows = std::max(maxRows, rows);
        std::copy(rgb, rgb + static_cast<std::size_t>(rows) * width * 3,
                  image.begin() + static_cast<std::ptrdiff_t>(first) * width * 3);
        ++bands;
        return true;
    }
    bool end() override { return true; }
    std::string error() const override { return {}; }
    int width = 0, nextRow = 0, maxRows = 0, bands = 0;
    std::vector<std::uint8_t> image;
};

TEST(JobRenderer, BandsTogetherGiveTheWholePage) {
    // A stroked diagonal and a disc-capped line cross many bands.
    const std::string job = Page() + "SP1;PW1.5;LA1,4,2,4;PA100,100;PD1900,900,1000,100;" + kEnd;
    Image whole;
    ASSERT_TRUE(RenderJobToImage(job, TenPluPerPixel(), whole).ok);
    RenderOptions banded = TenPluPerPixel();
    banded.bandBytes = 200 * 3 * 7;  // seven rows a band
    CollectingSink sink;
    ASSERT_TRUE(RenderJob(job, banded, sink).ok);
    EXPECT_EQ(sink.bands, 15);
    EXPECT_EQ(sink.maxRows, 7);
    EXPECT_EQ(sink.image, whole.rgb);
    EXPECT_GT(CountColour(whole, kBlack), 1000);
}

TEST(JobRenderer, RefusesPagesBeyondItsLimitWithoutAllocating) {
    RenderOptions o = TenPluPerPixel();
    o.maxPixelsPerSide = 150;
    Image img;
    const RenderResult r = RenderJobToImage(Square(), o, img);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("200 x 100"), std::string::npos) << r.error;
    EXPECT_EQ(img.width, 0);
}

TEST(JobRenderer, MalformedStreamReachesNoSink) {
    CollectingSink sink;
    const std::string job = Page() + "PE<" + PeNumber(5);  // half a coordinate pair, then the end
    const RenderResult r = RenderJob(job, TenPluPerPixel(), sink);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.malformed);
    EXPECT_NE(r.error.find("cut short"), std::string::npos) << r.error;
    EXPECT_EQ(sink.bands, 0);
}

TEST(JobRenderer, PaperColourAndResolutionAreOptions) {
    RenderOptions o;
    o.dpi = 50.8;  // 20 plu a pixel
    o.paper = {250, 240, 230};
    Image img;
    ASSERT_TRUE(RenderJobToImage(Square(), o, img).ok);
    EXPECT_EQ(img.width, 100);
    EXPECT_EQ(CountColour(img, kBlack), 100);
    EXPECT_EQ(img.at(0, 0), (Rgb{250, 240, 230}));
    o.dpi = 0;
    EXPECT_FALSE(RenderJobToImage(Square(), o, img).ok);
}

}  // namespace
}  // namespace jobrender
