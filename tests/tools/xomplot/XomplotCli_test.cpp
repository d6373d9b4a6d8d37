// xomplot end to end, run as a user runs it: a separate process with its exit status, its
// output on stdout and stderr, and the job it wrote.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "juxcommoncode/PlotLog/PlotLog.h"
#include "support/ByteDiff.h"
#include "support/GoldenFile.h"
#include "support/PclRasterDecoder.h"
#include "tests/tools/xomplot/TestPng.h"
#include "tests/tools/xomplot/XomplotProcess.h"
#include "tools/jobrender/JobRenderer.h"

namespace {

using namespace xomtest;
namespace fs = std::filesystem;

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

TEST_F(XomplotCliTest, AGeneralImageComesBackAsItsPixelsReplicated) {
    ASSERT_TRUE(testpng::WriteRgba((dir / "photo.png").string(), 4, 3, Distinct(4, 3)));
    const fs::path drawing =
        Write("gen.drw", "image kind=general at=100,200 size=41,30 : photo.png\n");
    const fs::path out = dir / "gen.plt";
    RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "Plot complete\n");
    const auto images = Rasters(Read(out));
    ASSERT_EQ(images.size(), 1u);
    const auto& im = images[0];
    ASSERT_EQ(im.width, 41);
    ASSERT_EQ(im.height, 30);
    ASSERT_EQ(im.rows.size(), 30u);
    EXPECT_EQ(im.config, (std::array<std::uint8_t, 6>{0, 3, 8, 8, 8, 8}));
    // f = 10: each pixel ten dots across (the last column padded) and ten rows down.
    EXPECT_EQ(im.repeatedRows, 27);
    const auto src = Distinct(4, 3);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 41; ++x) {
            const std::size_t p = (static_cast<std::size_t>(y / 10) * 4 +
                                   static_cast<std::size_t>(std::min(x / 10, 3))) *
                                  4;
            const std::uint32_t want =
                (std::uint32_t{src[p]} << 16) | (std::uint32_t{src[p + 1]} << 8) | src[p + 2];
            ASSERT_EQ(im.Colour(x, y), want) << x << "," << y;
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
    // An index8 image without a palette colour mode.
    for (const char* kind : {"index8"}) {
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
    EXPECT_FALSE(fs::exists(dir / "empty.plt")) << "an empty plot leaves no file";
}

TEST_F(XomplotCliTest, PlotsToAPrintCommandThroughAPipe) {
    const fs::path sink = dir / "piped.plt";
    RunResult r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "--port",
                           "|cat > " + Quote(sink.string())});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Plot complete\n");
    EXPECT_NE(Read(sink).find("PE"), std::string::npos);
}

TEST_F(XomplotCliTest, PlotsDirectlyToThePrinterOfAConfiguration) {
    ASSERT_EQ(
        Xomplot({"--driver", Driver(), "config", "set", "q", "MachineIpAddress", "127.0.0.43"})
            .status,
        0);
    const fs::path piped = dir / "piped.plt";
    RunResult r;
    {
        SimulatedPrinter printer(dir, "127.0.0.43");
        // The same configuration's plot to a port, before it plots directly (then every plot that
        // does not go to a file goes to the printer). Both read the printer's data first.
        r = Xomplot({"--driver", Driver(), "--config", "q", XOM_TEST_EXAMPLE_DRAWING, "--port",
                     "|cat > " + Quote(piped.string())});
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        ASSERT_EQ(
            Xomplot({"--driver", Driver(), "config", "set", "q", "PlotDirectToIpAddress", "1"})
                .status,
            0);
        r = Xomplot({"--driver", Driver(), "--config", "q", XOM_TEST_EXAMPLE_DRAWING});
        EXPECT_EQ(r.status, 0) << r.out << r.err << Read(dir / "xomsim-127.0.0.43.txt");
        EXPECT_EQ(r.out, "Plot complete\n");
        const auto jobs = printer.JobLines(1);
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_NE(jobs[0].find("ticket yes, tokens: none"), std::string::npos) << jobs[0];
    }
    // The printer got the job the port got, byte for byte, with the ticket its data made.
    const std::string job = Read(fs::path(dir / "jobs-127.0.0.43" / "job-0001.prn"));
    EXPECT_EQ(job, Read(piped));
    EXPECT_EQ(job.rfind("<?xml", 0), 0u);

    // A printer that refuses: the plot fails, naming the printer's address.
    SimulatedPrinter refusing(dir, "127.0.0.44", {"refuse"});
    ASSERT_EQ(
        Xomplot({"--driver", Driver(), "config", "set", "q", "MachineIpAddress", "127.0.0.44"})
            .status,
        0);
    r = Xomplot({"--driver", Driver(), "--config", "q", XOM_TEST_EXAMPLE_DRAWING});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE((r.out + r.err).find("Cannot connect to printer."), std::string::npos)
        << r.out << r.err;
    EXPECT_NE((r.out + r.err).find("127.0.0.44"), std::string::npos) << r.out << r.err;
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

TEST_F(XomplotCliTest, AJobPastTheSizeLimitFailsAndIsNeverDelivered) {
    // Under 1 KB of drawing: 15 lines across the page, dotted at a hundredth of the scale, which
    // make a job of more than 1 MB (the default limit of 4 MB, its computation and its text are
    // JobSizeLimit's tests; a smaller limit keeps this test quick).
    std::string text = "drawing Too fine\n";
    for (int i = 0; i < 15; ++i)
        text += "polyline pattern=2 scale=0.01 : 100," + std::to_string(100 + 60 * i) + " 4600," +
                std::to_string(100 + 60 * i) + "\n";
    const fs::path drawing = Write("fine.drw", text);
    ASSERT_LT(fs::file_size(drawing), 1024u);
    const fs::path out = dir / "fine.plt";
    std::ofstream(out) << "earlier";
    const RunResult r =
        Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string(), "--max-job-mb", "1"});
    const RunResult log = Xomplot({"--driver", Driver(), "log"});
    const std::string status = "Plot failed: the job would exceed 1 MB, the limit of --max-job-mb";
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.out, status + "\n");
    EXPECT_NE(r.err.find("xomplot: " + status), std::string::npos) << r.err;
    EXPECT_EQ(Read(out), "earlier") << "no part of the job takes the file's place";
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find("fine.plt."), std::string::npos)
            << "a temporary file is left: " << entry.path();
    EXPECT_NE(log.out.find("   Status: " + status), std::string::npos) << log.out;

    // Under the drawing's own limit (4 MB) the same drawing is a complete plot of over 1 MB.
    const RunResult plain = Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string()});
    EXPECT_EQ(plain.status, 0) << plain.out << plain.err;
    EXPECT_GT(fs::file_size(out), 1u << 20);
    EXPECT_EQ(
        Xomplot({"--driver", Driver(), drawing.string(), "-o", out.string(), "--max-job-mb", "0"})
            .status,
        64);
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

TEST_F(XomplotCliTest, ADriverWhoseLanguageFolderLacksItsDrcFileNamesTheMissingPath) {
    const fs::path copy = dir / "xomq15.hdi";
    fs::copy_file(Driver(), copy);
    fs::copy_file(fs::path(Driver()).parent_path() / "xomq15Res.so", dir / "xomq15Res.so");
    const fs::path plot = dir / "x.plt";
    RunResult r =
        Xomplot({"--driver", copy.string(), XOM_TEST_EXAMPLE_DRAWING, "-o", plot.string()});
    EXPECT_EQ(r.status, 1);
    const std::string all = r.out + r.err;
    EXPECT_NE(all.find("DRC File"), std::string::npos) << all;
    EXPECT_NE(all.find((dir / "en-US" / "xomq15.drc").string()), std::string::npos) << all;
    EXPECT_FALSE(fs::exists(plot));

    // With its DRC data in place the same copy plots.
    fs::create_directories(dir / "en-US");
    fs::copy_file(fs::path(Driver()).parent_path() / "en-US" / "xomq15.drc",
                  dir / "en-US" / "xomq15.drc");
    r = Xomplot({"--driver", copy.string(), XOM_TEST_EXAMPLE_DRAWING, "-o", plot.string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_TRUE(fs::exists(plot));
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

// Ctrl-C, SIGTERM and SIGHUP while the print command has stopped reading (the write is blocked):
// the plot ends cancelled within a second, the log says so, and the print command is killed
// before it can take the partial job. The plot cannot finish first: the command takes nothing
// until its sleep is over.
TEST(XomplotCancel, SignalWhileAWriteIsBlockedCancelsAndKillsThePrintCommand) {
    const fs::path dir = fs::temp_directory_path() / ("xomplot_cancel_" + std::to_string(getpid()));
    fs::create_directories(dir);
    {
        std::ofstream d(dir / "long.drw");
        for (int i = 0; i < 60000; ++i)
            d << "polyline : " << i % 4000 << ",0 " << i % 4000 << ",3000\n";
    }
    setenv("XDG_DATA_HOME", (dir / "data-home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    const LinkedPrinter printer(dir);
    printer.Link(dir / "config");
    const fs::path sink = dir / "taken.plt";
    int n = 0;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        const fs::path err = dir / ("stderr" + std::to_string(sig)),
                       out = dir / ("stdout" + std::to_string(sig));
        const std::string port = "|sleep 3; cat > '" + sink.string() + "'";
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            freopen(err.c_str(), "w", stderr);
            freopen(out.c_str(), "w", stdout);
            putenv(const_cast<char*>(kLeakCheckEnvironment));
            execl(XOM_TEST_XOMPLOT, "xomplot", "--config", "linked", "--driver",
                  (std::string(XOM_TEST_DRIVER_DIR) + "/xomq15.hdi").c_str(),
                  (dir / "long.drw").c_str(), "--port", port.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Once it draws, let it go on until the pipe is full and the write blocks.
        for (int i = 0; i < 5000; ++i) {
            std::ifstream progress(err);
            const std::string text((std::istreambuf_iterator<char>(progress)), {});
            if (text.find("Drawing: ") != std::string::npos) break;
            usleep(2000);
        }
        usleep(400000);
        kill(pid, sig);
        const auto sent = std::chrono::steady_clock::now();
        int status = 0;
        pid_t done = 0;
        while ((done = waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() - sent < std::chrono::seconds(20))
            usleep(10000);
        if (done == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            FAIL() << "xomplot did not end after the signal";
        }
        const auto took = std::chrono::steady_clock::now() - sent;
        std::ifstream in(out);
        const std::string said((std::istreambuf_iterator<char>(in)), {});
        ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
        EXPECT_EQ(WEXITSTATUS(status), 3) << said;
        EXPECT_EQ(said, "Plot canceled\n");
        EXPECT_LT(took, std::chrono::milliseconds(2500));
        ++n;
        JuxNetwork::PlotLog log;
        ASSERT_EQ(log.Load(), 0);
        ASSERT_EQ(log.GetRecords().size(), static_cast<std::size_t>(n));
        EXPECT_EQ(log.GetRecords().back().m_status, L"Plot canceled");
    }
    usleep(3300000);  // past the command's sleep: had it lived, it would have taken the job now
    EXPECT_FALSE(fs::exists(sink)) << "the print command took the partial job";
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(dir);
}

}  // namespace

namespace {

TEST_F(XomplotCliTest, EveryPlotIsLoggedAndLogShowsNewestFirst) {
    const fs::path home = dir / "data-home";
    const fs::path empty = Write("blank.drw", "drawing Blank sheet\n");
    EXPECT_EQ(
        Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", (dir / "a.plt").string()})
            .status,
        0);
    EXPECT_EQ(
        Xomplot({"--driver", Driver(), empty.string(), "-o", (dir / "b.plt").string()}).status, 2);
    EXPECT_TRUE(fs::exists(home / "XomSeriesQ" / "AutoCAD_PlotLog.dat"));

    RunResult log = Xomplot({"--driver", Driver(), "log"});
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
    r = Xomplot(
        {"--driver", Driver(), "config", "set", "office", "MachineIpAddress", LinkedAddress()});
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
    // The linked printer's data makes the ticket, with the stored user name and this plot's PIN,
    // copies and job name.
    EXPECT_EQ(job.rfind("<?xml", 0), 0u);
    for (const char* part :
         {"<User Name=\"J. Doe\">", "<JobPin>2468</JobPin>", "<NumberOfCopies>2</NumberOfCopies>",
          "<JobName>Tower &lt;B&gt;</JobName>"})
        EXPECT_NE(job.find(part), std::string::npos) << part << " in:\n" << job.substr(0, 2000);
    EXPECT_EQ(r.err.find("Cannot connect to printer."), std::string::npos) << r.err;
    EXPECT_NE(job.find("@PJL COMMENT Drawing=Tower <B>\r\n"), std::string::npos);
    EXPECT_EQ(Read(file), before) << "a plot does not change the configuration";
    r = Xomplot({"--driver", Driver(), "--config", "nowhere", XOM_TEST_EXAMPLE_DRAWING, "-o",
                 out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("o configuration 'nowhere'"), std::string::npos) << r.out;
}

// The settings dialog needs a display: without one, config edit says how else to change the
// configuration, and changes nothing; with one, the driver's dialog opens.
TEST_F(XomplotCliTest, ConfigEditOpensTheDialogOnlyWithADisplay) {
    RunResult r = Xomplot({"--driver", Driver(), "config", "set", "desk", "UserName", "kim"});
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path file = dir / "config" / "xomplot" / "printers" / "desk.conf";
    const std::string before = Read(file);
    r = Xomplot({"--driver", Driver(), "config", "edit", "desk"});
    EXPECT_EQ(r.status, 69) << r.err;
    EXPECT_NE(r.err.find("needs a display"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("xomplot config set desk KEY VALUE"), std::string::npos) << r.err;
    EXPECT_EQ(Read(file), before);
    // A display that does not answer (a stale ssh forwarding) is none: no abort in the toolkit.
    display = "DISPLAY=127.0.0.1:59";
    r = Xomplot({"--driver", Driver(), "config", "edit", "desk"});
    display.clear();
    EXPECT_EQ(r.status, 69) << r.err;
    EXPECT_NE(r.err.find("needs a display"), std::string::npos) << r.err;
    // With a display the dialog opens on the linked printer and waits for the user; stopped
    // there, it saves nothing.
    r = Xomplot(
        {"--driver", Driver(), "config", "set", "desk", "MachineIpAddress", LinkedAddress()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string linkedBefore = Read(file);
    display = "QT_QPA_PLATFORM=offscreen";
    r = Xomplot({"--driver", Driver(), "config", "edit", "desk"}, "timeout 2");
    display.clear();
    EXPECT_EQ(r.status, 124) << r.err;
    EXPECT_EQ(r.err.find("needs a display"), std::string::npos) << r.err;
    EXPECT_EQ(Read(file), linkedBefore);
    r = Xomplot({"--driver", Driver(), "config", "edit", "../desk"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a configuration name"), std::string::npos) << r.err;
}

TEST_F(XomplotCliTest, ADamagedConfigurationLoadsWhatItCanAndSaysWhatItSkipped) {
    fs::create_directories(dir / "config" / "xomplot" / "printers");
    std::ofstream(dir / "config" / "xomplot" / "printers" / "broken.conf", std::ios::binary)
        << "MachineIpAddress = " << LinkedAddress()
        << "\nPrintExit = 2\nNoSuchKey = 1\nBrightness = bright\n\x01\xff\xfe junk\nPutXMLinPlotFi";
    const fs::path out = dir / "broken.plt";
    RunResult r = Xomplot(
        {"--driver", Driver(), "--config", "broken", XOM_TEST_EXAMPLE_DRAWING, "-o", out.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("broken.conf:5: not a text line"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("broken.conf:6: line cut short"), std::string::npos) << r.err;
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

namespace {

TEST_F(XomplotOutcomeTest, FailedOutputsEndFailedAndTheRecordSaysWhatStdoutSays) {
    struct Case {
        std::vector<std::string> where;
        std::string says;
    };
    std::vector<Case> cases = {
        {{"--port", "|true"}, "Broken pipe"},  // exits without reading
        {{"--port", "|cat >/dev/null; exit 3"}, "print command exited with status 3"},
        {{"--port", "|cat >/dev/null; no-such-print-command-xom 2>/dev/null"}, "status 127"},
        {{"-o", (dir / "no" / "such" / "dir.plt").string()}, "cannot create"},
    };
    if (access("/dev/full", W_OK) == 0) cases.push_back({{"-o", "/dev/full"}, "No space"});
    std::size_t records = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where.back());
        std::vector<std::string> args = {"--driver", Driver(), Big()};
        args.insert(args.end(), c.where.begin(), c.where.end());
        RunResult r = Xomplot(args);
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
        const auto log = Records();
        ASSERT_EQ(log.size(), ++records) << "every plot is logged once";
        EXPECT_EQ(log.back().m_drawing, L"Big sheet");
        EXPECT_EQ(W(r.out), log.back().m_status + L"\n") << "stdout and the record agree";
    }
}

// A plot to a file is written beside it and renamed over it only when complete: a failed or
// empty plot leaves the earlier file as it was, and no temporary file behind.
TEST_F(XomplotOutcomeTest, FailedOrEmptyPlotLeavesTheEarlierFileAsItWas) {
    const fs::path target = dir / "job.plt";
    std::ofstream(target) << "earlier job";
    RunResult r = Xomplot({"--driver", Driver(), Big(), "-o", target.string()}, "ulimit -f 40;");
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(Read(target), "earlier job");
    EXPECT_EQ(Others({"job.plt", "big.drw", "data-home", "stdout", "stderr"}),
              std::vector<std::string>{});
    ASSERT_FALSE(Records().empty());
    EXPECT_EQ(W(r.out), Records().back().m_status + L"\n");

    const fs::path blank = Write("blank.drw", "drawing Blank\n");
    r = Xomplot({"--driver", Driver(), blank.string(), "-o", target.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Read(target), "earlier job");

    r = Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", target.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Read(target).substr(Read(target).size() - 2),
              "\x1b"
              "E");
}

// A regular file given as --port holds exactly this job, never the tail of a longer old one.
TEST_F(XomplotOutcomeTest, PortThatIsARegularFileIsTruncated) {
    const fs::path file = dir / "port.bin", reference = dir / "reference.plt";
    ASSERT_EQ(
        Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o", reference.string()}).status,
        0);
    std::ofstream(file) << std::string(2 * fs::file_size(reference), 'x');
    RunResult r =
        Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "--port", file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    // A port's job begins with the ticket that a file's job goes without.
    const std::string job = Read(file), ticketEnd = "</PrintJob>\r\n";
    ASSERT_NE(job.find(ticketEnd), std::string::npos);
    EXPECT_TRUE(BytesEqual(job.substr(job.find(ticketEnd) + ticketEnd.size()), Read(reference)));
}

// A FIFO whose reader goes away is a failed write that xomplot reports and logs, never SIGPIPE.
TEST_F(XomplotOutcomeTest, FifoWhoseReaderLeavesIsAFailureNotSigpipe) {
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        char buf[1000];
        in.read(buf, sizeof buf);  // takes a little and leaves
    });
    RunResult r = Xomplot({"--driver", Driver(), Big(), "-o", fifo.string()});
    reader.join();
    EXPECT_EQ(r.status, 1) << "141 is death by SIGPIPE\n" << r.err;
    EXPECT_NE(r.out.find("Broken pipe"), std::string::npos) << r.out;
    ASSERT_FALSE(Records().empty());
    EXPECT_EQ(W(r.out), Records().back().m_status + L"\n");
}

// Ten plots at once into one log leave ten records, and `xomplot log` meanwhile never calls the
// busy log empty.
TEST_F(XomplotOutcomeTest, TenPlotsAtOnceLeaveTenRecords) {
    ASSERT_EQ(Xomplot({"--driver", Driver(), XOM_TEST_EXAMPLE_DRAWING, "-o",
                       (dir / "first.plt").string()})
                  .status,
              0);
    // Eighteen processes queue for the log's lock; on a loaded machine under sanitizers the
    // last may wait longer than the default bound, which PlotLogLockTest checks on its own.
    std::string script =
        "export XOM_PLOT_LOG_WAIT_MS=30000 XDG_CONFIG_HOME=" + Quote((dir / "config").string()) +
        "; pids=;";
    for (int i = 0; i < 10; ++i) {
        const fs::path d =
            Write("s" + std::to_string(i) + ".drw",
                  "drawing Sheet " + std::to_string(i) + "\npolyline : 0,0 100,100\n");
        script += Quote(XOM_TEST_XOMPLOT) + " --config linked --driver " + Quote(Driver()) + " " +
                  Quote(d.string()) + " -o " + Quote((dir / ("s" + std::to_string(i))).string()) +
                  " >>" + Quote((dir / "plots.out").string()) + " 2>/dev/null & pids=\"$pids $!\";";
    }
    script += "for k in 1 2 3 4 5 6 7 8; do " + Quote(XOM_TEST_XOMPLOT) + " --driver " +
              Quote(Driver()) + " log >>" + Quote((dir / "reads.out").string()) +
              " 2>&1 || echo READ-FAILED >>" + Quote((dir / "reads.out").string()) +
              "; done; wait $pids";
    ASSERT_EQ(std::system(("sh -c " + Quote(script)).c_str()), 0);
    const std::string plots = Read(dir / "plots.out");
    EXPECT_EQ(std::count(plots.begin(), plots.end(), '\n'), 10) << plots;
    const std::string reads = Read(dir / "reads.out");
    EXPECT_EQ(reads.find("The plot log is empty."), std::string::npos) << reads;
    EXPECT_EQ(reads.find("READ-FAILED"), std::string::npos) << reads;

    std::vector<std::wstring> names;
    for (const auto& rec : Records()) {
        names.push_back(rec.m_drawing);
        EXPECT_EQ(rec.m_status, L"Plot complete");
    }
    ASSERT_EQ(names.size(), 10u) << plots;
    std::sort(names.begin(), names.end());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(names[i], L"Sheet " + std::to_wstring(i));
}

// A drawing that cannot be read whole is an error, never a shorter or empty plot.
TEST_F(XomplotOutcomeTest, DrawingThatIsNotARegularFileIsAnError) {
    const fs::path fifo = dir / "drawing.fifo";
    const fs::path dxfFifo = dir / "plan.dxf";  // taken for a DXF drawing by its name
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(dxfFifo.c_str(), 0600), 0);
    for (const fs::path& drawing : {dir, fifo, dxfFifo}) {
        RunResult r =
            Xomplot({"--driver", Driver(), drawing.string(), "-o", (dir / "x.plt").string()},
                    "exec timeout 20");
        EXPECT_EQ(r.status, 1) << drawing << r.out;
        EXPECT_NE(r.out.find(drawing.string() + ": not a regular file"), std::string::npos)
            << r.out;
    }
    EXPECT_TRUE(Records().empty()) << "no picture was started";
}

// File names are bytes and drawing names UTF-8, whatever the locale.
TEST_F(XomplotOutcomeTest, NamesSurviveAnyLocale) {
    const fs::path drawing = Write("g.drw",
                                   "drawing Gr\xc3\xb6\xc3\x9f"
                                   "e\npolyline : 0,0 9,9\n");
    for (const std::string& name : {std::string("Gr\xc3\xb6\xc3\x9f"
                                                "e.job"),
                                    std::string("raw\xff\xfe.job")}) {
        RunResult r = Xomplot({"--driver", Driver(), drawing.string(), "-o", (dir / name).string()},
                              "LC_ALL=C LANG=C");
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    }
    ASSERT_FALSE(Records().empty());
    EXPECT_EQ(Records().back().m_drawing, L"Gr\u00f6\u00dfe");
    RunResult log = Xomplot({"--driver", Driver(), "log"}, "LC_ALL=C LANG=C");
    EXPECT_NE(log.out.find("   Drawing: Gr\xc3\xb6\xc3\x9f"
                           "e"),
              std::string::npos)
        << log.out;
}

TEST_F(XomplotOutcomeTest, LogOfAFileThatIsNoPlotLogIsAnErrorAndTextsAreEscaped) {
    for (const std::string& file :
         {(dir / "missing.dat").string(), dir.string(), std::string("/etc/passwd")}) {
        RunResult r = Xomplot({"--driver", Driver(), "log", "--file", file});
        EXPECT_EQ(r.status, 1) << file << "\n" << r.out;
        EXPECT_EQ(r.out.find("The plot log is empty."), std::string::npos) << file;
        EXPECT_FALSE(r.err.empty());
    }
    const fs::path file = dir / "evil.dat";
    JuxNetwork::PlotLog log(file.wstring());
    JuxNetwork::CPlotData record;
    record.m_drawing = L"Sheet\x1b]0;owned\x07\x1b[2J";
    record.m_status = L"Plot complete";
    log.AddEntry(record);
    ASSERT_EQ(log.Save(), 0);
    RunResult r = Xomplot({"--driver", Driver(), "log", "--file", file.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << "control characters reach the terminal";
    EXPECT_NE(r.out.find("Drawing: Sheet\\x1B]0;owned\\x07\\x1B[2J"), std::string::npos) << r.out;
}

// The outcome comes from the driver's string numbers: with a translated resource library beside
// the driver the exit statuses are the same, and the texts are the translation's.
TEST_F(XomplotOutcomeTest, TranslatedResourceLibraryGivesTheSameExitStatuses) {
    const fs::path tr = dir / "translated";
    fs::create_directories(tr);
    fs::copy_file(Driver(), tr / "xomq15.hdi");
    fs::copy_file(XOM_TEST_TRANSLATED_RES, tr / "xomq15Res.so");
    fs::copy(fs::path(XOM_TEST_DRIVER_DIR) / "en-US", tr / "en-US", fs::copy_options::recursive);
    const std::string driver = (tr / "xomq15.hdi").string();
    const fs::path blank = Write("blank.drw", "drawing Blank\n");

    RunResult r =
        Xomplot({"--driver", driver, XOM_TEST_EXAMPLE_DRAWING, "-o", (dir / "a.plt").string()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "Trazado completo\n");
    r = Xomplot({"--driver", driver, blank.string(), "-o", (dir / "b.plt").string()});
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_EQ(r.out,
              "Trazado vac\xc3\xad"
              "o.\n");
    r = Xomplot(
        {"--driver", driver, XOM_TEST_EXAMPLE_DRAWING, "--port", "|cat >/dev/null; exit 5"});
    EXPECT_EQ(r.status, 1) << r.out;
}

}  // namespace
