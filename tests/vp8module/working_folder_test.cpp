// Each analyser has a working folder of its own; the folders of processes
// that died are removed by the next one, never those of a running one.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/private_folder.h"
#include "shell/working_folder.h"

namespace tavimor {
namespace {

class WorkingFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavimor-folders-XXXXXX";
        temp_ = std::string(mkdtemp(pattern)) + "/";
    }
    void TearDown() override { std::filesystem::remove_all(temp_); }

    // A folder made by another process that then ends without removing it.
    std::string folder_of_a_dead_process() {
        int pipe_ends[2];
        EXPECT_EQ(pipe(pipe_ends), 0);
        const pid_t child = fork();
        if (child == 0) {
            auto folder = WorkingFolder::create(temp_);
            const std::string path = folder ? folder->path() : std::string{};
            std::ofstream(path + "mbist_pic_0.bin") << "picture";
            (void)!write(pipe_ends[1], path.c_str(), path.size());
            _exit(0);  // no destructors: as if the process had crashed
        }
        close(pipe_ends[1]);
        char buffer[4096] = {};
        const ssize_t got = read(pipe_ends[0], buffer, sizeof buffer - 1);
        close(pipe_ends[0]);
        int status = 0;
        waitpid(child, &status, 0);
        return got > 0 ? std::string(buffer, static_cast<size_t>(got)) : std::string{};
    }

    std::string temp_;
};

TEST_F(WorkingFolders, EachAnalyserHasItsOwnPrivateFolderRemovedWithIt) {
    auto first = WorkingFolder::create(temp_);
    auto second = WorkingFolder::create(temp_);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->path(), second->path());
    const auto parent = private_folder(temp_);
    ASSERT_TRUE(parent);
    EXPECT_EQ(first->path().rfind(*parent, 0), 0u) << "inside the user's private folder";
    const auto permissions = std::filesystem::status(first->path()).permissions();
    EXPECT_EQ(permissions & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    std::ofstream(first->path() + "mbist_mbinfo.bin") << "records";
    const std::string path = first->path();
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::exists(second->path()));
}

TEST_F(WorkingFolders, FoldersLeftByDeadProcessesGoAtTheNextStart) {
    const std::string abandoned = folder_of_a_dead_process();
    ASSERT_FALSE(abandoned.empty());
    ASSERT_TRUE(std::filesystem::exists(abandoned + "mbist_pic_0.bin"));
    auto running = WorkingFolder::create(temp_);
    ASSERT_TRUE(running);
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    // A folder in use by a running analyser stays, with its files.
    std::ofstream(running->path() + "mbist_pic_0.bin") << "picture";
    EXPECT_EQ(remove_abandoned_working_folders(*private_folder(temp_)), 0);
    EXPECT_TRUE(std::filesystem::exists(running->path() + "mbist_pic_0.bin"));
}

}  // namespace
}  // namespace tavimor
