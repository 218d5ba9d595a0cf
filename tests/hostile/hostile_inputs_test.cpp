// halvorn-cli given inputs and outputs that are not plain files, or cannot be
// read or written: each run ends in time with a non-zero exit and a message,
// and leaves nothing behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    bool finished = false;  // false: killed after the time limit
    int exit = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class HostileInputs : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("halvorn_hostile_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "work");
        demo_ = fs::path(HALVORN_DATA_DIR) / "Demo.sp";
    }
    void TearDown() override {
        std::error_code error;
        fs::permissions(dir_ / "work", fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(dir_, error);
    }

    // Runs halvorn-cli with these arguments (passed as they are, no shell) in
    // the work folder, killing it after the limit.
    CliRun Cli(const std::vector<std::string>& arguments, int seconds = 30) {
        const fs::path out = dir_ / "stdout";
        const fs::path err = dir_ / "stderr";
        const std::string program = HALVORN_BIN_DIR "/halvorn-cli";
        const pid_t child = ::fork();
        if (child == 0) {
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(o, 1);
            ::dup2(e, 2);
            if (::chdir((dir_ / "work").c_str()) != 0) {
                ::_exit(126);
            }
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : arguments) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        CliRun run;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        int status = 0;
        while (true) {
            const pid_t done = ::waitpid(child, &status, WNOHANG);
            if (done == child) {
                run.finished = true;
                run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        run.out = ReadAll(out);
        run.err = ReadAll(err);
        return run;
    }

    // The names in the work folder.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_ / "work")) {
            names.insert(e.path().filename().string());
        }
        return names;
    }

    fs::path Work(const std::string& name) const { return dir_ / "work" / name; }

    static bool IsRoot() { return ::geteuid() == 0; }

    fs::path dir_;
    fs::path demo_;
};

// A failed read: in time, exit 1, the reader's message on the JSON line.
void ExpectRefusedRead(const CliRun& run) {
    ASSERT_TRUE(run.finished) << "still running after the time limit";
    EXPECT_EQ(run.exit, 1) << run.err;
    EXPECT_NE(run.out.find("\"ok\":false"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"message\":\""), std::string::npos) << run.out;
}

TEST_F(HostileInputs, InputsThatAreNotFilesAreRefusedInTime) {
    fs::create_directories(Work("folder.sp"));
    ExpectRefusedRead(Cli({"info", "folder.sp"}));

    // A pipe nobody writes to must not block the read.
    ASSERT_EQ(::mkfifo(Work("pipe.sp").c_str(), 0600), 0);
    ExpectRefusedRead(Cli({"info", "pipe.sp"}));

    fs::create_symlink("loop2.jdx", Work("loop1.jdx"));
    fs::create_symlink("loop1.jdx", Work("loop2.jdx"));
    ExpectRefusedRead(Cli({"info", "loop1.jdx"}));

    // An endless device is not read to its end.
    for (const char* format : {"sp", "jcamp", "prn"}) {
        SCOPED_TRACE(format);
        ExpectRefusedRead(Cli({"info", "/dev/zero", "--format", format}));
    }
    EXPECT_EQ(Entries(), (std::set<std::string>{"folder.sp", "pipe.sp", "loop1.jdx", "loop2.jdx"}));
}

TEST_F(HostileInputs, UnreadableFileIsRefused) {
    if (IsRoot()) {
        GTEST_SKIP() << "root reads every file";
    }
    fs::copy_file(demo_, Work("locked.sp"));
    fs::permissions(Work("locked.sp"), fs::perms::none);
    ExpectRefusedRead(Cli({"info", "locked.sp"}));
}

TEST_F(HostileInputs, NamesWithInvalidUtf8AndANewline) {
    // Any bytes name an input.
    const std::string input = "in\xff\xfe\nput.sp";
    fs::copy_file(demo_, Work(input));
    const CliRun info = Cli({"info", input});
    ASSERT_TRUE(info.finished);
    EXPECT_EQ(info.exit, 0) << info.err;

    // An output is written under exactly the name given; a name that is not
    // valid UTF-8 cannot be kept exactly and is refused.
    const std::string newline = "out\nfigure.png";
    CliRun render = Cli({"render", input, newline});
    ASSERT_TRUE(render.finished);
    EXPECT_EQ(render.exit, 0) << render.err;
    const std::string invalid = "out\xff\nfigure.png";
    render = Cli({"render", input, invalid});
    ASSERT_TRUE(render.finished);
    EXPECT_EQ(render.exit, 1);
    EXPECT_NE(render.err.find("file name"), std::string::npos) << render.err;
    EXPECT_EQ(Entries(), (std::set<std::string>{input, newline}));
}

TEST_F(HostileInputs, OutputsThatCannotBeWrittenFailAndLeaveNothing) {
    // A folder where the figure should go.
    fs::create_directories(Work("figure.png"));
    CliRun run = Cli({"render", demo_.string(), "figure.png"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit, 1);
    EXPECT_NE(run.err.find("figure.png"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_empty(Work("figure.png")));

    // The full device, by its own name (no form to tell) and behind a name
    // with an extension: never reported as written, and never replaced by a
    // plain file.
    run = Cli({"render", demo_.string(), "/dev/full"});
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exit, 0);
    EXPECT_FALSE(run.err.empty());
    fs::path device = "/dev/full";
    if (IsRoot()) {
        // A node of our own, so that a fault could not replace the system's.
        device = Work("full");
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 7)), 0);
    }
    for (const char* name : {"full.png", "full.svg", "full.pdf", "full.emf"}) {
        SCOPED_TRACE(name);
        fs::create_symlink(device, Work(name));
        run = Cli({"render", demo_.string(), name});
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exit, 1);
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
        EXPECT_TRUE(fs::is_character_file(device));
        fs::remove(Work(name));
    }
    std::set<std::string> expected{"figure.png"};
    if (IsRoot()) {
        expected.insert("full");
    }
    EXPECT_EQ(Entries(), expected);  // no temporary file left
}

TEST_F(HostileInputs, ReadOnlyFolderFailsAndLeavesNothing) {
    if (IsRoot()) {
        GTEST_SKIP() << "root writes into every folder";
    }
    fs::permissions(Work(""), fs::perms::owner_read | fs::perms::owner_exec);
    const CliRun run = Cli({"render", demo_.string(), "figure.pdf"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit, 1);
    EXPECT_NE(run.err.find("figure.pdf"), std::string::npos) << run.err;
    fs::permissions(Work(""), fs::perms::owner_all);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(HostileInputs, AFlatSpectrumOnAMultipleOfFiveIsDrawn) {
    std::ofstream table(Work("flat.prn"), std::ios::binary);
    for (int x = 4000; x >= 400; x -= 20) {
        table << x << "\t55\r\n";
    }
    table.close();
    const CliRun run = Cli({"render", "flat.prn", "flat.png"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(fs::exists(Work("flat.png")));
}

}  // namespace
