#include "core/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace halvorn {
namespace {

namespace fs = std::filesystem;

// A scratch tree per test: prefix/bin for the executable, prefix/share/halvorn
// for the installed data files.
class DataFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("halvorn_data_folder_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(Bin());
        fs::create_directories(Share());
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Bin() const { return root_ / "prefix" / "bin"; }
    fs::path Share() const { return root_ / "prefix" / "share" / "halvorn"; }
    static void PutDemo(const fs::path& folder) { std::ofstream(folder / "Demo.sp") << "demo"; }

    fs::path root_;
};

TEST_F(DataFolder, TheBuildFolderHoldsItsOwnDataFiles) {
    PutDemo(Bin());
    PutDemo(Share());  // beside the program wins over an installed copy
    EXPECT_EQ(DataFolderFor(Bin().string()), Bin().string());
}

TEST_F(DataFolder, AnInstalledProgramReadsTheSharedFolder) {
    PutDemo(Share());
    EXPECT_EQ(DataFolderFor(Bin().string()), fs::canonical(Share()).string());
    EXPECT_EQ(DataFolderFor(Bin().string() + "/"), fs::canonical(Share()).string());

    // Reached through a link to the bin folder, ".." is the real prefix, not
    // the folder that holds the link.
    const fs::path link = root_ / "linked-bin";
    fs::create_directory_symlink(Bin(), link);
    EXPECT_EQ(DataFolderFor(link.string()), fs::canonical(Share()).string());
}

TEST_F(DataFolder, WithoutADemonstrationFileTheProgramFolderStays) {
    EXPECT_EQ(DataFolderFor(Bin().string()), Bin().string());
    // A folder named like the file is not the file.
    fs::create_directory(Share() / "Demo.sp");
    EXPECT_EQ(DataFolderFor(Bin().string()), Bin().string());
    EXPECT_EQ(DataFolderFor((root_ / "missing").string()), (root_ / "missing").string());
}

}  // namespace
}  // namespace halvorn
