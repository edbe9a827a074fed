// Outputs that cannot be written: a full device, a missing folder, a
// symbolic link planted where the output goes. Each ends with status 1 and
// one line, and nothing that was there before is lost.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/cli/cli_run.h"
#include "tests/support/test_paths.h"

namespace tavimor::test {
namespace {

namespace fs = std::filesystem;

bool full_device_available() {
    struct stat info {};
    return ::stat("/dev/full", &info) == 0 && S_ISCHR(info.st_mode);
}

class FailingOutputs : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!full_device_available()) GTEST_SKIP() << "no /dev/full here";
    }
    void expect_failure(const CliResult& result, const std::string& input,
                        const std::string& message, const std::string& what) {
        EXPECT_EQ(result.status, 1) << what;
        EXPECT_EQ(result.err, "tavimor-cli: " + input + ": " + message + "\n") << what;
    }
    TempFolder folder_;
    const std::string sample_ = data_path("sample_320x240.ivf");
    const std::string webm_ = data_path("multi_odd_99x77.webm");
};

TEST_F(FailingOutputs, AFullDeviceIsAFailureNeverASuccess) {
    const std::string full = "cannot write /dev/full: No space left on device";
    expect_failure(run_cli("decode " + sample_ + " -o /dev/full"), sample_, full, "decode");
    expect_failure(run_cli("render --frame 1 " + sample_ + " -o /dev/full"), sample_, full,
                   "render");
    expect_failure(run_cli("graph " + sample_ + " -o /dev/full"), sample_, full, "graph");
    const CliResult extract = run_cli("extract " + webm_ + " -o /dev/full");
    EXPECT_EQ(extract.status, 1);
    EXPECT_NE(extract.err.find("could not be written"), std::string::npos) << extract.err;
    // Standard output on a full device.
    const std::string stdout_full = "cannot write standard output: No space left on device";
    for (const char* command : {"md5 ", "info ", "trace ", "summary --frame 2 "})
        expect_failure(run_cli_into(std::string(command) + sample_, "/dev/full"), sample_,
                       stdout_full, command);
    const CliResult structure = run_cli_into("struct " + webm_, "/dev/full");
    EXPECT_EQ(structure.status, 1) << structure.err;
    // The device is still a device: a failed output is removed only when it
    // is a file the command made.
    struct stat info {};
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(FailingOutputs, APlantedLinkIsNotWrittenThrough) {
    const std::string victim = folder_.path("victim.txt");
    std::ofstream(victim) << "precious";
    const std::string link = folder_.path("out.png");
    fs::create_symlink(victim, link);
    const std::string refused =
        "cannot write " + link + ": it is a symbolic link, which is not written through";
    expect_failure(run_cli("render --frame 1 " + sample_ + " -o " + link), sample_, refused,
                   "render");
    expect_failure(run_cli("decode " + sample_ + " -o " + link), sample_, refused, "decode");
    const CliResult extract = run_cli("extract " + webm_ + " -o " + link);
    EXPECT_EQ(extract.status, 1);
    EXPECT_NE(extract.err.find("symbolic link"), std::string::npos) << extract.err;
    EXPECT_EQ(read_file(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(link));
    // A dangling link is not followed to create its target either.
    const std::string dangling = folder_.path("dangling.yuv");
    fs::create_symlink(folder_.path("made-by-the-link.yuv"), dangling);
    EXPECT_EQ(run_cli("decode " + sample_ + " -o " + dangling).status, 1);
    EXPECT_FALSE(fs::exists(folder_.path("made-by-the-link.yuv")));
    // A link to a device is fine: /dev/stdout is one.
    EXPECT_EQ(run_cli("render --frame 1 " + sample_ + " -o /dev/stdout").status, 0);
}

TEST_F(FailingOutputs, AFolderThatIsNotThereIsReportedByName) {
    const std::string missing = folder_.path("no/such/out.yuv");
    expect_failure(run_cli("decode " + sample_ + " -o " + missing), sample_,
                   "cannot write " + missing + ": No such file or directory", "decode");
}

}  // namespace
}  // namespace tavimor::test
