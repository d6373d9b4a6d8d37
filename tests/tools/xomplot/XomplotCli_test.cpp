// xomplot end to end, run as a user runs it: a separate process with its exit status, its
// output on stdout and stderr, and the job it wrote.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/ByteDiff.h"
#include "support/GoldenFile.h"
#include "support/PclRasterDecoder.h"
#include "tests/tools/xomplot/TestPng.h"
#include "tools/jobrender/JobRenderer.h"

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

class XomplotCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("xomplot_cli_" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Quote(const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }
    RunResult Xomplot(const std::vector<std::string>& args) {
        // Clock and user pinned so job streams are reproducible; configurations kept in the test's
        // own folder.
        std::string cmd = "SOURCE_DATE_EPOCH=1733740800 USERNAME=tester XDG_CONFIG_HOME=" +
                          Quote((dir / "config").string()) + " " + Quote(XOM_TEST_XOMPLOT);
        for (const auto& a : args) cmd += " " + Quote(a);
        cmd += " >" + Quote((dir / "stdout").string()) + " 2>" + Quote((dir / "stderr").string()) +
               " </dev/null";
        RunResult r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = Read(dir / "stdout");
        r.err = Read(dir / "stderr");
        return r;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        return dir / name;
    }
    std::string Driver() const { return std::string(XOM_TEST_DRIVER_DIR) + "/xomq15.hdi"; }
    fs::path dir;
};

// An RGBA picture whose every pixel has its own colour.
std::vector<std::uint8_t> Distinct(int w, int h) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            rgba.insert(rgba.end(), {static_cast<std::uint8_t>(40 * x + 3),
                                     static_cast<std::uint8_t>(60 * y + 5),
                                     static_cast<std::uint8_t>(17 * (x + y) + 100), 255});
        }
    }
    return rgba;
}

std::vector<xomtest::PclRasterImage> Rasters(const std::string& job) {
    std::vector<xomtest::PclRasterImage> images;
    std::string error;
    EXPECT_TRUE(xomtest::ReadPclRasters(job, images, error)) << error;
    return images;
}

TEST_F(XomplotCliTest, AnRgbImageComesBackAsItsPixelsEnlarged) {
    ASSERT_TRUE(testpng::WriteRgba((dir / "logo.png").string(), 4, 3, Distinct(4, 3)));
    const fs::path drawing = Write("img.drw", "image kind=rgb32 at=100,200 size=8,6 : logo.png\n");
    const fs::path out = dir / "img.plt";
    RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "Plot complete\n");
    const auto images = Rasters(Read(out));
    ASSERT_EQ(images.size(), 1u);
    const auto& im = images[0];
    ASSERT_EQ(im.width, 8);
    ASSERT_EQ(im.height, 6);
    ASSERT_EQ(im.rows.size(), 6u);
    const auto src = Distinct(4, 3);
    // A4 is longer than wide: the rows arrive top first, left to right.
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::size_t p = (static_cast<std::size_t>(y / 2) * 4 + x / 2) * 4;
            const std::uint32_t want =
                (std::uint32_t{src[p]} << 16) | (std::uint32_t{src[p + 1]} << 8) | src[p + 2];
            EXPECT_EQ(im.Colour(x, y), want) << x << "," << y;
        }
    }
}

TEST_F(XomplotCliTest, AOnePixelImageOverTheWholePageIsACorrectPlot) {
    ASSERT_TRUE(testpng::WriteRgba((dir / "dot.png").string(), 1, 1, {200, 10, 10, 255}));
    const fs::path drawing = Write("big.drw", "image kind=rgb32 at=0,0 size=4700,6700 : dot.png\n");
    const fs::path out = dir / "big.plt";
    RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const auto images = Rasters(Read(out));
    ASSERT_FALSE(images.empty());
    int rows = 0;
    for (const auto& im : images) {
        EXPECT_EQ(im.width, 4700);
        rows += static_cast<int>(im.rows.size());
        EXPECT_EQ(im.Colour(0, 0), 0xC80A0Au);
        EXPECT_EQ(im.Colour(4699, static_cast<int>(im.rows.size()) - 1), 0xC80A0Au);
        // Every row after the first of a band repeats it.
        EXPECT_EQ(im.repeatedRows, static_cast<int>(im.rows.size()) - 1);
    }
    EXPECT_EQ(rows, 6700);
}

TEST_F(XomplotCliTest, BadImagesAreClearErrorsAndNothingIsPlotted) {
    const auto png = testpng::ToMemory(20, 20, Distinct(20, 20));
    std::ofstream(dir / "cut.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()),
               static_cast<std::streamsize>(png.size() / 2));
    const fs::path drawing = Write("cut.drw",
                                   "polyline : 0,0 10,10\n"
                                   "image kind=rgb32 at=0,0 size=20,20 : cut.png\n");
    const fs::path out = dir / "cut.plt";
    RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("cut.drw:2: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("cut.png"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(XomplotCliTest, AnImageTheHostCannotDrawIsNotACompletePlot) {
    ASSERT_TRUE(testpng::WriteRgba((dir / "photo.png").string(), 4, 3, Distinct(4, 3)));
    // A general-road image in this build, and an index8 image without a palette colour mode.
    for (const char* kind : {"general", "index8"}) {
        SCOPED_TRACE(kind);
        const fs::path drawing = Write("gen.drw", std::string("polyline : 0,0 10,10\nimage kind=") +
                                                      kind + " at=0,0 size=40,30 : photo.png\n");
        const fs::path out = dir / "gen.plt";
        RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_NE(r.out.find("Plot incomplete"), std::string::npos) << r.out;
        RunResult log = Xomplot({"--driver", Driver(), "log"});
        EXPECT_NE(log.out.find("Plot incomplete"), std::string::npos) << log.out;
    }
}

TEST_F(XomplotCliTest, PlotsTheExampleToAFile) {
    const fs::path out = dir / "example.plt";
    RunResult r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", out.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Plot complete\n");
    const std::string job = Read(out);
    ASSERT_FALSE(job.empty());
    EXPECT_NE(job.find("PE"), std::string::npos);  // polyline-encoded vectors
    EXPECT_EQ(job.substr(job.size() - 2),
              "\x1b"
              "E");  // the job's closing reset
    EXPECT_NE(r.err.find("Drawing: "), std::string::npos);
}

TEST_F(XomplotCliTest, PreviewsTheJobItWrote) {
    const fs::path job = dir / "example.plt";
    ASSERT_EQ(Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", job.string()}).status,
              0);
    const fs::path png = dir / "example.png";
    RunResult r = Xomplot({"preview", job.string(), "-o", png.string(), "--dpi", "30"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("249 x 351 pixels at 30 dpi, 1 page(s)"), std::string::npos) << r.out;
    EXPECT_EQ(Read(png).substr(1, 3), "PNG");
    r = Xomplot({"preview", job.string()});
    EXPECT_EQ(r.status, 64);
    r = Xomplot({"preview", job.string(), "-o", png.string(), "--dpi", "0"});
    EXPECT_EQ(r.status, 64);
}

TEST_F(XomplotCliTest, DefaultDriverIsTheOneOfThisBuildTree) {
    const fs::path out = dir / "default.plt";
    RunResult r =
        Xomplot({XOM_TEST_EXAMPLE_DRAWING, "-o", out.string(), "--media", "ISO_A3", "--resolution",
                 "300_DPI", "--color-mode", "Monochrome", "--printer", "Q Plotter"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(Read(out).empty());
}

TEST_F(XomplotCliTest, EmptyDrawingEndsEmpty) {
    const fs::path drawing = Write("empty.drw", "drawing Nothing here\n# no actions\n");
    RunResult r =
        Xomplot({"--driver", Driver(), drawing.string(), "-o", (dir / "empty.plt").string()});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.out, "Plot is empty.\n");
    EXPECT_EQ(fs::file_size(dir / "empty.plt"), 0u);
}

TEST_F(XomplotCliTest, PlotsToAPrintCommandThroughAPipe) {
    const fs::path sink = dir / "piped.plt";
    RunResult r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "--port",
                           "|cat > " + Quote(sink.string())});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Plot complete\n");
    EXPECT_NE(Read(sink).find("PE"), std::string::npos);
}

TEST_F(XomplotCliTest, FailingOutputsEndFailed) {
    // A print command that fails and a port that cannot be opened. (A command that exits without
    // reading may still have taken a small job into the pipe's buffer; the output object's own
    // tests cover the short write.)
    for (const std::string& port :
         std::vector<std::string>{"|cat >/dev/null; exit 4", (dir / "no" / "port").string()}) {
        RunResult r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "--port", port});
        EXPECT_EQ(r.status, 1) << port << "\n" << r.out << r.err;
        EXPECT_NE(r.out.rfind("Plot complete", 0), 0u) << port;
    }
}

TEST_F(XomplotCliTest, BadDrawingIsRejectedBeforeThePictureStarts) {
    const fs::path drawing = Write("bad.drw", "polyline : 0,0 10,10\npolygon : 0,0 1,1\n");
    const fs::path out = dir / "bad.plt";
    RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(drawing.string() + ":2: polygon needs at least 3 points"),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(fs::exists(out));

    const fs::path image = Write("image.drw", "image : 0,0\n");
    r = Xomplot({"--driver", Driver(), image.string(), "-o", out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(image.string() + ":1: image needs kind="), std::string::npos) << r.out;
}

TEST_F(XomplotCliTest, DriverWithoutItsResourceLibraryFailsToLoad) {
    const fs::path copy = dir / "xomq15.hdi";
    fs::copy_file(Driver(), copy);
    RunResult r = Xomplot(
        {"--driver", copy.string(), XOM_TEST_EXAMPLE_DRAWING, "-o", (dir / "x.plt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error: Resource DLL not found: " + (dir / "xomq15Res.so").string()),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("driver failed to initialise"), std::string::npos) << r.out;
}

TEST_F(XomplotCliTest, ListsTheDrcChoices) {
    RunResult r = Xomplot({"--driver", Driver(), "--list"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* name : {"* ISO_A4", "ANSI_E1", "* 600_DPI", "100_DPI", "* Color",
                             "255_Virtual_Pens_Color", "Roll, Sheet"})
        EXPECT_NE(r.out.find(name), std::string::npos) << name;
}

TEST_F(XomplotCliTest, UnknownChoicesAndBadCommandLines) {
    RunResult r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o",
                           (dir / "x.plt").string(), "--media", "A9"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("unknown media 'A9'"), std::string::npos) << r.out;
    r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING});
    EXPECT_EQ(r.status, 64);
    r = Xomplot({XOM_TEST_EXAMPLE_DRAWING, "-o", "a", "--port", "b"});
    EXPECT_EQ(r.status, 64);
    r = Xomplot({"--no-such-option"});
    EXPECT_EQ(r.status, 64);
    r = Xomplot({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Exit status"), std::string::npos);
    EXPECT_NE(r.out.find("--port"), std::string::npos);
}

}  // namespace

namespace {

// Ctrl-C while drawing: the plot ends cancelled. Needs a drawing long enough to still be drawing
// when the signal comes; on a machine too fast for that the test is skipped, not failed.
TEST(XomplotCancel, InterruptWhileDrawingEndsCancelled) {
    const fs::path dir = fs::temp_directory_path() / ("xomplot_cancel_" + std::to_string(getpid()));
    fs::create_directories(dir);
    {
        std::ofstream d(dir / "long.drw");
        for (int i = 0; i < 300000; ++i)
            d << "polyline : " << i % 4000 << ",0 " << i % 4000 << ",3000\n";
    }
    const fs::path err = dir / "stderr", out = dir / "stdout";
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        freopen(err.c_str(), "w", stderr);
        freopen(out.c_str(), "w", stdout);
        execl(XOM_TEST_XOMPLOT, "xomplot", "--driver",
              (std::string(XOM_TEST_DRIVER_DIR) + "/xomq15.hdi").c_str(),
              (dir / "long.drw").c_str(), "-o", (dir / "long.plt").c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait for the first drawing progress line, then interrupt.
    for (int i = 0; i < 3000; ++i) {
        std::ifstream in(err);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        if (text.find("Drawing: ") != std::string::npos) break;
        usleep(2000);
    }
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    std::ifstream in(out);
    const std::string said((std::istreambuf_iterator<char>(in)), {});
    fs::remove_all(dir);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the plot finished before the interrupt";
    EXPECT_EQ(WEXITSTATUS(status), 3) << said;
    EXPECT_EQ(said, "Plot canceled\n");
}

}  // namespace

namespace {

TEST_F(XomplotCliTest, EveryPlotIsLoggedAndLogShowsNewestFirst) {
    const fs::path home = dir / "data-home";
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    const fs::path empty = Write("blank.drw", "drawing Blank sheet\n");
    EXPECT_EQ(
        Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", (dir / "a.plt").string()})
            .status,
        0);
    EXPECT_EQ(
        Xomplot({"--driver", Driver(), empty.string(), "-o", (dir / "b.plt").string()}).status, 2);
    EXPECT_TRUE(fs::exists(home / "XomSeriesQ" / "AutoCAD_PlotLog.dat"));

    RunResult log = Xomplot({"--driver", Driver(), "log"});
    unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(log.status, 0) << log.err;
    const auto newest = log.out.find("\n1:\n");
    const auto older = log.out.find("\n2:\n");
    ASSERT_NE(newest, std::string::npos) << log.out;
    ASSERT_NE(older, std::string::npos) << log.out;
    EXPECT_NE(log.out.find("Recent Plot Log"), std::string::npos);
    const std::string first = log.out.substr(newest, older - newest);
    EXPECT_NE(first.find("   Drawing: Blank sheet"), std::string::npos) << first;
    EXPECT_NE(first.find("   Status: Plot is empty."), std::string::npos) << first;
    EXPECT_NE(first.find("   Byte Count: 0"), std::string::npos) << first;
    EXPECT_NE(log.out.substr(older).find("   Status: Plot complete"), std::string::npos);
    EXPECT_EQ(log.out.find("\n3:\n"), std::string::npos);
}

}  // namespace

namespace {

// The bundled example through every build: the four builds share one source, so each must write
// exactly the committed job, apart from the HDI version its PJL header names.
TEST_F(XomplotCliTest, BundledExampleMatchesTheGoldenJobInEveryBuild) {
    const std::string path = (fs::path(XOM_TEST_GOLDEN_DIR) / "example.plt").string();
    std::string golden15 = ReadGoldenFile(path);
    const std::string hdiLine = "  HDI:15.0.0.0\r\n";
    const std::pair<const char*, const char*> builds[] = {{"xomq15", "15.0.0.0"},
                                                          {"xomq14", "14.0.0.0"},
                                                          {"xomq13", "13.0.0.0"},
                                                          {"xomq12", "12.0.51.0"}};
    bool rewritten = false;
    for (const auto& [build, hdi] : builds) {
        const fs::path out = dir / (std::string(build) + ".plt");
        RunResult r =
            Xomplot({"--driver", std::string(XOM_TEST_DRIVER_DIR) + "/" + build + ".hdi",
                     XOM_TEST_EXAMPLE_DRAWING, "-o", out.string(), "--media", "ISO_A4",
                     "--resolution", "600_DPI", "--color-mode", "Color", "--printer", "Q Plotter"});
        ASSERT_EQ(r.status, 0) << build << ": " << r.err;
        // An update writes the first build's job; the other builds must still match it, and
        // GoldenExampleDrawsWhatTheDrawingAsks checks what it draws.
        if (!rewritten && RewriteGoldenIfAsked(path, Read(out))) {
            golden15 = Read(out);
            rewritten = true;
        }
        ASSERT_FALSE(golden15.empty()) << "missing golden job " << path;
        ASSERT_NE(golden15.find(hdiLine), std::string::npos);
        std::string golden = golden15;
        golden.replace(golden.find(hdiLine), hdiLine.size(), std::string("  HDI:") + hdi + "\r\n");
        EXPECT_TRUE(BytesEqual(Read(out), golden)) << build;
    }
}

// The golden job's prefix, piece by piece: a plot to a file starts with the PJL header.
TEST_F(XomplotCliTest, ThePlotFileStartsWithTheReproduciblePjlHeader) {
    const fs::path out = dir / "example.plt";
    RunResult r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", out.string(),
                           "--printer", "Q Plotter"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string job = Read(out);
    const std::string header =
        "\x1b%-12345X"
        "@PJL COMMENT Source=AutoCAD\r\n"
        "@PJL COMMENT ComputerUserName=tester\r\n"       // USERNAME
        "@PJL COMMENT Drawing=Example sheet XQ-001\r\n"  // the drawing's own name
        "@PJL COMMENT SourceProductName=AutoCAD\r\n"
        "@PJL COMMENT TargetDevice=Q Plotter\r\n"
        "@PJL COMMENT Time=2024-12-09 10:40:00\r\n"  // SOURCE_DATE_EPOCH 1733740800, UTC
        "@PJL COMMENT DriverVersion:xomq 1.0.24.x64  HDI:15.0.0.0\r\n"
        "@PJL SET RESOLUTION = 600\r\n"
        "@PJL ENTER LANGUAGE = HPGL2\r\n"
        "\x1b"
        "E";
    EXPECT_TRUE(BytesEqual(job.substr(0, header.size()), header));
}

TEST_F(XomplotCliTest, ConfigSetShowListAndPlotWithAConfiguration) {
    RunResult r =
        Xomplot({"--driver", Driver(), "config", "set", "office", "PutXMLinPlotFile", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = Xomplot({"--driver", Driver(), "config", "set", "office", "UserName", "J. Doe"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = Xomplot({"--driver", Driver(), "config", "set", "office", "UserValidPassword", "s3cret"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = Xomplot({"--driver", Driver(), "config", "set", "office", "media", "ISO_A3"});
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path file = dir / "config" / "xomplot" / "printers" / "office.conf";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write)
        << "the file may hold passwords";

    r = Xomplot({"config", "list"});
    EXPECT_EQ(r.out, "office\n");
    r = Xomplot({"--driver", Driver(), "config", "show", "office"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("UserName                 J. Doe\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("UserValidPassword        ******** (set)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("PrintExit                0 (default)\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("s3cret"), std::string::npos);

    // Unknown keys and values of the wrong type are refused, and the file stays as it was.
    const std::string before = Read(file);
    r = Xomplot({"--driver", Driver(), "config", "set", "office", "NoSuchKey", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("unknown key 'NoSuchKey'"), std::string::npos) << r.err;
    r = Xomplot({"--driver", Driver(), "config", "set", "office", "PrintExit", "rear"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'PrintExit' takes a whole number, not 'rear'"), std::string::npos)
        << r.err;
    r = Xomplot({"--driver", Driver(), "config", "set", "../x", "PrintExit", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Read(file), before);

    // A plot with the configuration: the XML ticket goes into the file, with the stored user
    // name; plot-time values override it for this plot only.
    const fs::path out = dir / "office.plt";
    r = Xomplot({"--driver", Driver(), "--config", "office", XOM_TEST_EXAMPLE_DRAWING, "-o",
                 out.string(), "--pin", "2468", "--copies", "2", "--job-name", "Tower <B>"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string job = Read(out);
    // Reading a printer's data comes with the network side: without it the job goes without its
    // ticket, and the driver says so.
    EXPECT_EQ(job.substr(0, 9), "\x1b%-12345X");
    EXPECT_NE(r.err.find("Cannot connect to printer."), std::string::npos) << r.err;
    EXPECT_NE(job.find("@PJL COMMENT Drawing=Tower <B>\r\n"), std::string::npos);
    EXPECT_EQ(Read(file), before) << "a plot does not change the configuration";
    r = Xomplot({"--driver", Driver(), "--config", "nowhere", XOM_TEST_EXAMPLE_DRAWING, "-o",
                 out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("o configuration 'nowhere'"), std::string::npos) << r.out;
}

TEST_F(XomplotCliTest, ADamagedConfigurationLoadsWhatItCanAndSaysWhatItSkipped) {
    fs::create_directories(dir / "config" / "xomplot" / "printers");
    std::ofstream(dir / "config" / "xomplot" / "printers" / "broken.conf", std::ios::binary)
        << "PrintExit = 2\nNoSuchKey = 1\nBrightness = bright\n\x01\xff\xfe junk\nPutXMLinPlotFi";
    const fs::path out = dir / "broken.plt";
    RunResult r = Xomplot(
        {"--driver", Driver(), "--config", "broken", XOM_TEST_EXAMPLE_DRAWING, "-o", out.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("broken.conf:4: not a text line"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("broken.conf:5: line cut short"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("unknown key 'NoSuchKey'"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("'Brightness' takes a whole number"), std::string::npos) << r.err;
}

// The golden job is checked by what it draws, not trusted because the driver wrote it: rendered
// at 100 dpi, each shape of the example shows in the colour its drawing line asks for.
TEST(XomplotGolden, GoldenExampleDrawsWhatTheDrawingAsks) {
    std::ifstream in(fs::path(XOM_TEST_GOLDEN_DIR) / "example.plt", std::ios::binary);
    const std::string job((std::istreambuf_iterator<char>(in)), {});
    jobrender::Image img;
    jobrender::RenderOptions o;
    o.dpi = 100;
    const jobrender::RenderResult r = jobrender::RenderJobToImage(job, o, img);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warnings.total(), 0u);
    EXPECT_TRUE(r.rotated);
    ASSERT_EQ(img.width, 827);  // ISO A4 portrait
    ASSERT_EQ(img.height, 1170);
    // Drawing dots at 600 dpi, 5 mm (119 dots) margins, to pixels at 100 dpi.
    auto at = [&](int x, int y) { return img.at((x + 119) / 6, (7016 - (y + 119)) / 6); };
    using jobrender::Rgb;
    EXPECT_EQ(at(800, 4700), (Rgb{255, 0, 0}));       // polygon color=1
    EXPECT_EQ(at(2100, 4600), (Rgb{0, 255, 0}));      // polygon color=3
    EXPECT_EQ(at(3600, 4700), (Rgb{255, 128, 0}));    // polygon rgb=ff8000
    EXPECT_EQ(at(3100, 4700), (Rgb{255, 255, 255}));  // its notch
    EXPECT_EQ(at(700, 3800), (Rgb{0, 0, 255}));       // dcpolygon color=5
    EXPECT_EQ(at(800, 2800), (Rgb{0, 0, 255}));       // ellipse color=5
    EXPECT_EQ(at(2100, 2800), (Rgb{0, 160, 64}));     // ellipse rgb=00a040
    EXPECT_EQ(at(4300, 3800), (Rgb{0, 255, 0}));      // dot color=3
    EXPECT_EQ(at(4200, 3600), (Rgb{255, 0, 0}));      // dot color=1
    EXPECT_EQ(at(4400, 4050), (Rgb{0, 0, 255}));      // dot rgb=0000ff
    EXPECT_EQ(at(900, 6150), (Rgb{0, 0, 0}));         // polyline, default colour 7
    EXPECT_EQ(at(1650, 1200), (Rgb{255, 0, 0}));      // clipped polyline color=1, inside the clip
    // The hatch (color=4) is cyan lines inside its square and nothing around it.
    int cyan = 0, outside = 0;
    for (int y = 3400; y < 4200; y += 6)
        for (int x = 1500; x < 2700; x += 6) {
            const bool inside = x > 1606 && x < 2594 && y > 3506 && y < 4094;
            const bool ink = at(x, y) != Rgb{255, 255, 255};
            cyan += inside && at(x, y) == Rgb{0, 255, 255};
            outside += !inside && (x < 1590 || x > 2610 || y < 3490 || y > 4110) && ink;
        }
    EXPECT_GT(cyan, 100);
    EXPECT_EQ(outside, 0);
}

}  // namespace
