#include "hdi/HT_Plotter_IO.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "hdi/HT_Plotter_Definition.h"
#include "platform/Utf8.h"

namespace {

namespace fs = std::filesystem;

class PlotterIOTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("hostsdk_io_" + std::to_string(getpid()));
        fs::create_directories(dir);
        handler = new HT_Error_Handler();
        def = new HT_Std_Plotter_Definition(handler.get());
        config = new HT_Std_Plotter_Configuration();
        def->set_plotter_configuration(config);
        io = new HT_Plotter_IO(handler.get());
        io->set_plotter_definition(def.get());
    }
    void TearDown() override {
        io.reset();
        fs::remove_all(dir);
    }
    std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t Entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir), fs::directory_iterator{}));
    }
    fs::path dir;
    SPMP<HT_Error_Handler> handler;
    SPMP<HT_Std_Plotter_Definition> def;
    SPMP<HT_Std_Plotter_Configuration> config;
    SPMP<HT_Plotter_IO> io;
};

TEST_F(PlotterIOTest, PlotToFileWritesAndCounts) {
    config->get_io_configuration()->plot_to_file = true;
    config->get_io_configuration()->output_file = (dir / "out.plt").wstring();
    ASSERT_TRUE(io->open()) << std::string(io->last_error().begin(), io->last_error().end());
    EXPECT_TRUE(io->is_plot_to_file());
    EXPECT_EQ(io->output_name(), config->get_io_configuration()->output_file);
    EXPECT_EQ(io->write("abc", 3), 3u);
    EXPECT_EQ(io->write("de", 2), 2u);
    EXPECT_TRUE(io->close());
    EXPECT_EQ(io->bytes_written(), 5u);
    EXPECT_EQ(io->write_failures(), 0u);
    EXPECT_EQ(Read(dir / "out.plt"), "abcde");
}

TEST_F(PlotterIOTest, UnopenableDestinationsFailWithAReason) {
    config->get_io_configuration()->plot_to_file = true;
    config->get_io_configuration()->output_file = (dir / "missing" / "out.plt").wstring();
    EXPECT_FALSE(io->open());
    EXPECT_TRUE(io->open_failed());
    EXPECT_FALSE(io->last_error().empty());
    EXPECT_EQ(io->write("x", 1), 0u);  // not open: nothing written, counted as a failure
    EXPECT_EQ(io->write_failures(), 1u);

    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = (dir / "no-such-device").wstring();
    EXPECT_FALSE(io->open());
    config->get_io_configuration()->port = L"|   ";
    EXPECT_FALSE(io->open());
    config->get_io_configuration()->port.clear();
    EXPECT_FALSE(io->open());
}

TEST_F(PlotterIOTest, PortIsADevicePathOpenedForWriting) {
    const fs::path dev = dir / "port";
    std::ofstream(dev) << "an earlier, longer job";  // a regular file as port holds this job only
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = dev.wstring();
    ASSERT_TRUE(io->open());
    EXPECT_FALSE(io->is_plot_to_file());
    EXPECT_EQ(io->write("job", 3), 3u);
    EXPECT_TRUE(io->close());
    EXPECT_EQ(Read(dev), "job");
}

TEST_F(PlotterIOTest, PipeRunsThePrintCommandThroughTheShell) {
    const fs::path sink = dir / "piped";
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"|cat > '" + sink.wstring() + L"'";
    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("hello", 5), 5u);
    EXPECT_TRUE(io->close());
    EXPECT_EQ(Read(sink), "hello");
}

TEST_F(PlotterIOTest, FailingPrintCommandIsReportedOnClose) {
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"|cat >/dev/null; exit 3";
    ASSERT_TRUE(io->open());
    io->write("x", 1);
    EXPECT_FALSE(io->close());
    EXPECT_NE(io->last_error().find(L"status 3"), std::wstring::npos);
}

TEST_F(PlotterIOTest, ClosedPipeGivesAShortWriteNotSigpipe) {
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"|exit 0";  // reads nothing and goes away
    ASSERT_TRUE(io->open());
    const std::string block(1 << 16, 'x');
    std::size_t last = block.size();
    for (int i = 0; i < 200 && last == block.size(); ++i) {
        last = io->write(block.data(), block.size());
        if (last == block.size()) usleep(1000);
    }
    EXPECT_LT(last, block.size());  // we are still alive: SIGPIPE did not end the process
    EXPECT_GE(io->write_failures(), 1u);
    EXPECT_FALSE(io->last_error().empty());
    sigset_t pending;
    sigpending(&pending);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);  // nothing left pending for the host
    io->close();
}

TEST_F(PlotterIOTest, FullDeviceGivesAShortCount) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"/dev/full";
    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("abc", 3), 0u);
    EXPECT_EQ(io->write_failures(), 1u);
    EXPECT_NE(io->last_error().find(L"No space"), std::wstring::npos);
    io->close();
}

// A plot file takes its target's place only when the job is closed: until then, and when the job
// is given up or has no bytes, an earlier file of that name stays as it was.
TEST_F(PlotterIOTest, PlotFileReplacesItsTargetOnlyWhenClosedWithAJob) {
    const fs::path target = dir / "out.plt";
    std::ofstream(target) << "earlier";
    config->get_io_configuration()->plot_to_file = true;
    config->get_io_configuration()->output_file = target.wstring();

    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("partial", 7), 7u);
    EXPECT_EQ(Read(target), "earlier") << "a job in progress never looks like a file";
    io->abort();
    EXPECT_FALSE(io->is_open());
    EXPECT_EQ(Read(target), "earlier");
    EXPECT_EQ(Entries(), 1u) << "the temporary file is gone";

    ASSERT_TRUE(io->open());
    EXPECT_TRUE(io->close());
    EXPECT_EQ(Read(target), "earlier") << "an empty plot leaves the earlier file";
    EXPECT_EQ(Entries(), 1u);

    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("complete", 8), 8u);
    EXPECT_TRUE(io->close());
    EXPECT_EQ(Read(target), "complete");
    EXPECT_EQ(Entries(), 1u);

    // An output object dropped without close gives its job up too.
    ASSERT_TRUE(io->open());
    io->write("dropped", 7);
    io.reset();
    EXPECT_EQ(Read(target), "complete");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(PlotterIOTest, ByteLimitRefusesTheWriteThatPassesItAndTheJobIsNeverDelivered) {
    const fs::path target = dir / "out.plt";
    std::ofstream(target) << "earlier";
    config->get_io_configuration()->plot_to_file = true;
    config->get_io_configuration()->output_file = target.wstring();
    io->set_byte_limit(10, L"too big");
    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("12345", 5), 5u);
    EXPECT_EQ(io->write("67890", 5), 5u);  // exactly at the limit
    EXPECT_FALSE(io->limit_exceeded());
    EXPECT_EQ(io->write("x", 1), 0u);
    EXPECT_TRUE(io->limit_exceeded());
    EXPECT_EQ(io->bytes_written(), 10u);
    EXPECT_EQ(io->write_failures(), 1u);
    EXPECT_EQ(io->last_error(), L"too big");
    // A host that closes the job all the same does not get it delivered.
    EXPECT_FALSE(io->close());
    EXPECT_EQ(Read(target), "earlier");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(PlotterIOTest, PrintCommandOfAJobWithAFailedWriteIsKilledAtTheClose) {
    const fs::path sink = dir / "sink";
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port =
        L"|cat > '" + sink.wstring() + L"'; echo done >> '" + sink.wstring() + L"'";
    io->set_byte_limit(4, L"too big");
    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("abc", 3), 3u);
    EXPECT_EQ(io->write("de", 2), 0u);
    EXPECT_FALSE(io->close());
    EXPECT_EQ(Read(sink).find("done"), std::string::npos) << "the command never saw the end";
}

// File names are bytes: a name that is not valid UTF-8, or not valid in the locale, names
// exactly that file.
TEST_F(PlotterIOTest, PlotFileNamesArePassedThroughAsBytes) {
    const std::string name =
        "Gr\xc3\xb6\xc3\x9f"
        "e\xff\xfe.job";
    config->get_io_configuration()->plot_to_file = true;
    config->get_io_configuration()->output_file = xomplatform::PathFromBytes((dir / name).string());
    ASSERT_TRUE(io->open());
    io->write("x", 1);
    ASSERT_TRUE(io->close());
    EXPECT_TRUE(fs::exists(dir / name));
    EXPECT_EQ(Entries(), 1u);
}

// Giving a job up kills the print command's whole process group before it sees the end of its
// input, so it never takes the partial job.
TEST_F(PlotterIOTest, AbortKillsThePrintCommandBeforeItTakesThePartialJob) {
    const fs::path sink = dir / "taken";
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"|sleep 1; cat > '" + sink.wstring() + L"'";
    ASSERT_TRUE(io->open());
    EXPECT_EQ(io->write("partial", 7), 7u);
    const auto start = std::chrono::steady_clock::now();
    io->abort();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(fs::exists(sink)) << "the command went on and took the job";

    config->get_io_configuration()->port = L"|no-such-print-command-xom";
    ASSERT_TRUE(io->open());
    EXPECT_FALSE(io->close());
    EXPECT_NE(io->last_error().find(L"status 127"), std::wstring::npos);
}

std::atomic<bool> g_cancelled{false};
bool Cancelled() {
    return g_cancelled.load();
}

// A destination that stops reading cannot hold the plot: the write gives up within a second of
// the host's cancel.
TEST_F(PlotterIOTest, BlockedWriteGivesUpWhenTheHostCancels) {
    config->get_io_configuration()->plot_to_file = false;
    config->get_io_configuration()->port = L"|sleep 30";
    g_cancelled = false;
    io->set_cancel_check(&Cancelled);
    ASSERT_TRUE(io->open());
    std::thread cancel([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        g_cancelled = true;
    });
    const std::string block(4 << 20, 'x');
    const auto start = std::chrono::steady_clock::now();
    const std::size_t written = io->write(block.data(), block.size());
    const auto took = std::chrono::steady_clock::now() - start;
    cancel.join();
    EXPECT_LT(written, block.size());
    EXPECT_LT(took, std::chrono::milliseconds(1300));
    EXPECT_NE(io->last_error().find(L"cancel"), std::wstring::npos);
    io->abort();  // and the command goes at once, not after its 30 s
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(PlotterIOTest, FactoryAnnouncesOutputObjectsToTheObserver) {
    struct Seen {
        HT_Plotter_IO* io = nullptr;
    } seen;
    HT_Set_Plotter_IO_Observer([](HT_Plotter_IO* o, void* s) { static_cast<Seen*>(s)->io = o; },
                               &seen);
    SPMP<HT_Std_Plotter_Class_Factory> factory(new HT_Std_Plotter_Class_Factory());
    auto made = factory->create_plotter_io(handler.get());
    HT_Set_Plotter_IO_Observer(nullptr, nullptr);
    EXPECT_EQ(seen.io, made.get());
}

}  // namespace
