// The extraction run driven by a test format: files opened and closed on
// every path, the codec-found step, failures, cancellation and write errors.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "containers/demuxer_context.h"
#include "containers/extraction_run.h"
#include "containers/format_table.h"

namespace tavimor {
namespace {

namespace fs = std::filesystem;

// What the test format does in each step, and what it saw.
struct Script {
    std::function<int(DemuxerContext&, const std::string& step)> act;
    std::vector<std::string> steps;
    int live_states = 0;
    bool no_state = false;
};
Script* script = nullptr;

struct TestState : FormatState {
    TestState() { ++script->live_states; }
    ~TestState() override { --script->live_states; }
};

std::unique_ptr<FormatState> make_test_state() {
    if (script->no_state) return nullptr;
    return std::make_unique<TestState>();
}

int act(DemuxerContext& context, const std::string& step) {
    script->steps.push_back(step);
    return script->act ? script->act(context, step) : kFormatOk;
}

const FormatOperations kTestFormat = {
    "Test",
    make_test_state,
    [](DemuxerContext& c) { return act(c, "setup"); },
    [](DemuxerContext& c) { return act(c, "header"); },
    [](DemuxerContext& c) { return act(c, "middle"); },
    [](DemuxerContext& c) { return act(c, "body"); },
    [](DemuxerContext& c) { return act(c, "cleanup"); },
};

size_t open_descriptors() {
    return static_cast<size_t>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(std::FILE* file, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file);
}

class ExtractionRun : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/tavimor-run-test-XXXXXX";
        folder_ = mkdtemp(pattern);
        std::ofstream(path("in.mkv"), std::ios::binary) << std::string(1000, 'c');
        request_.input_path = path("in.mkv");
        request_.raw_output_path = path("raw.bin");
        request_.container_kind = kContainerMkv;
        request_.codec_found = [this](int type, const std::string& text) {
            asked_.push_back(std::to_string(type) + ":" + text);
            return answer_;
        };
        script = &script_;
        descriptors_ = open_descriptors();
    }
    void TearDown() override {
        EXPECT_EQ(open_descriptors(), descriptors_) << "a file stayed open";
        EXPECT_EQ(script_.live_states, 0);
        script = nullptr;
        fs::remove_all(folder_);
    }
    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    ExtractionResult run() { return run_extraction(request_, &kTestFormat); }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder_;
    ExtractionRequest request_;
    Script script_;
    std::optional<std::string> answer_;
    std::vector<std::string> asked_;
    size_t descriptors_ = 0;
};

using Steps = std::vector<std::string>;

TEST_F(ExtractionRun, VideoGoesToTheAnsweredPathOnceTheCodecIsFound) {
    answer_ = path("video.ivf");
    script_.act = [&](DemuxerContext& c, const std::string& step) {
        if (step != "body") return kFormatOk;
        EXPECT_EQ(c.input_size, 1000);
        EXPECT_EQ(c.messages, stdout);
        EXPECT_EQ(c.structure_text, nullptr);
        EXPECT_EQ(c.codec_code, kFoundH264);
        write(c.raw_output, "before");
        warn_codec(c, "odd track");
        if (!switch_to_codec_output(c, kFoundVp8)) return kFormatFailed;
        std::string data(1000, '\0');
        EXPECT_EQ(std::fread(data.data(), 1, data.size(), c.input), 1000u);
        write(c.raw_output, data);
        return kFormatOk;
    };
    const ExtractionResult result = run();
    EXPECT_TRUE(result.ok) << result.failure;
    EXPECT_TRUE(result.codec_found);
    EXPECT_EQ(result.codec_code, kFoundVp8);
    EXPECT_EQ(result.output_path, path("video.ivf"));
    EXPECT_EQ(asked_, (Steps{"0:odd track", "2:"}));
    EXPECT_EQ(script_.steps, (Steps{"setup", "header", "middle", "body", "cleanup"}));
    EXPECT_EQ(contents(path("raw.bin")), "before");
    EXPECT_EQ(contents(path("video.ivf")), contents(path("in.mkv")));
    // No structure, PES, second output or message file unless named.
    EXPECT_EQ(files(), (Steps{"in.mkv", "raw.bin", "video.ivf"}));
}

TEST_F(ExtractionRun, NamedFilesAreCreatedAndMessagesGoToTheirFile) {
    request_.second_output_path = path("second.bin");
    request_.structure_path = path("struct.txt");
    request_.pes_path = path("pes.txt");
    request_.message_path = path("messages.txt");
    script_.act = [&](DemuxerContext& c, const std::string& step) {
        if (step == "header") write(c.structure_text, "EBML\n");
        if (step == "body") write(c.messages, "done\n");
        return kFormatOk;
    };
    const ExtractionResult result = run();
    EXPECT_TRUE(result.ok) << result.failure;
    EXPECT_FALSE(result.codec_found);
    EXPECT_EQ(result.codec_code, kFoundH264);
    EXPECT_EQ(result.output_path, path("raw.bin"));
    EXPECT_EQ(files(),
              (Steps{"in.mkv", "messages.txt", "pes.txt", "raw.bin", "second.bin", "struct.txt"}));
    EXPECT_EQ(contents(path("struct.txt")), "EBML\n");
    EXPECT_EQ(contents(path("messages.txt")), "done\n");
}

TEST_F(ExtractionRun, FilesThatCannotBeOpenedFailTheRunWithEverythingClosed) {
    const std::string missing = path("no/such");
    const auto fails = [&](const std::string& expected) {
        const ExtractionResult result = run();
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.cancelled);
        EXPECT_EQ(result.failure, expected);
        EXPECT_TRUE(script_.steps.empty()) << "no parser step after an opening failure";
        EXPECT_EQ(open_descriptors(), descriptors_);
    };
    request_.structure_path = missing;
    fails("the structure text file " + missing +
          " could not be created: No such file or directory");
    request_.structure_path.clear();
    request_.raw_output_path = missing;
    fails("the output file " + missing + " could not be created: No such file or directory");
    request_.raw_output_path = request_.input_path;
    fails("the output file " + request_.input_path + " would overwrite the container file");
    EXPECT_EQ(contents(request_.input_path).size(), 1000u) << "the input is left intact";
    request_.input_path = folder_;
    fails("the container file " + folder_ + " could not be opened");
    request_.input_path = missing;
    fails("the container file " + missing + " could not be opened");
}

TEST_F(ExtractionRun, FailingStepStopsTheRunAndReportsWhyAfterTheSwitch) {
    answer_ = path("video.ivf");
    script_.act = [&](DemuxerContext& c, const std::string& step) {
        if (step != "middle") return kFormatOk;
        EXPECT_TRUE(switch_to_codec_output(c, kFoundVp8));
        write(c.raw_output, "partial");
        c.failure = "cluster size past the end of the file";
        return kFormatFailed;
    };
    ExtractionResult result = run();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failure,
              "the Test parser failed in its middle step: cluster size past the end of the file");
    EXPECT_TRUE(result.codec_found);
    EXPECT_EQ(result.output_path, path("video.ivf"));
    EXPECT_EQ(contents(path("video.ivf")), "partial") << "what was written stays";
    EXPECT_EQ(script_.steps, (Steps{"setup", "header", "middle", "cleanup"}));

    // Without a reason of the parser's own; out of memory; a thrown exception.
    const std::pair<std::function<int()>, std::string> cases[] = {
        {[] { return kFormatFailed; }, "the Test parser failed in its setup step"},
        {[] { return kFormatNoMemory; }, "the Test parser ran out of memory in its setup step"},
        {[]() -> int { throw std::bad_alloc(); },
         "the Test parser ran out of memory in its setup step"},
        {[]() -> int { throw std::runtime_error("bad lacing"); },
         "the Test parser failed in its setup step: bad lacing"},
    };
    for (const auto& outcome_and_text : cases) {
        const std::function<int()>& outcome = outcome_and_text.first;
        script_.steps.clear();
        script_.act = [&](DemuxerContext&, const std::string&) { return outcome(); };
        result = run();
        EXPECT_EQ(result.failure, outcome_and_text.second);
        EXPECT_EQ(script_.steps, (Steps{"setup", "cleanup"}));
    }
    script_.no_state = true;
    script_.steps.clear();
    EXPECT_EQ(run().failure, "not enough memory to read the Test file");
    EXPECT_TRUE(script_.steps.empty());
}

TEST_F(ExtractionRun, DecliningTheOutputCancelsTheRun) {
    // Also when the parser goes on as if the switch had worked.
    for (const int after_switch : {kFormatFailed, kFormatOk}) {
        script_.steps.clear();
        script_.act = [&](DemuxerContext& c, const std::string& step) {
            if (step != "header") return kFormatOk;
            EXPECT_FALSE(switch_to_codec_output(c, kFoundH264));
            return after_switch;
        };
        const ExtractionResult result = run();
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(result.failure, "");
        EXPECT_FALSE(result.codec_found);
        EXPECT_EQ(script_.steps, (Steps{"setup", "header", "cleanup"}));
    }
}

TEST_F(ExtractionRun, OutputThatCannotBeCreatedStopsTheParser) {
    for (const std::string& answer : {path("no/video.ivf"), request_.input_path}) {
        answer_ = answer;
        script_.steps.clear();
        script_.act = [&](DemuxerContext& c, const std::string& step) {
            if (step == "header") switch_to_codec_output(c, kFoundVp8);
            return kFormatOk;  // the failed switch is not looked at
        };
        const ExtractionResult result = run();
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.codec_found);
        EXPECT_EQ(script_.steps, (Steps{"setup", "header", "cleanup"}));
        EXPECT_NE(result.failure.find(answer), std::string::npos) << result.failure;
    }
    EXPECT_EQ(contents(request_.input_path).size(), 1000u);
}

TEST_F(ExtractionRun, WriteErrorsTurnSuccessIntoFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string lots(1 << 16, 'x');
    script_.act = [&](DemuxerContext& c, const std::string& step) {
        if (step != "body") return kFormatOk;
        if (answer_) switch_to_codec_output(c, kFoundVp8);
        write(c.raw_output, lots);
        if (c.structure_text) write(c.structure_text, lots);
        return kFormatOk;
    };
    request_.raw_output_path = "/dev/full";
    EXPECT_EQ(run().failure, "the extracted stream could not be written completely");
    request_.raw_output_path = path("raw.bin");
    answer_ = "/dev/full";
    EXPECT_EQ(run().failure, "the extracted stream could not be written completely");
    answer_.reset();
    request_.structure_path = "/dev/full";
    EXPECT_EQ(run().failure, "the structure text could not be written completely");
}

TEST_F(ExtractionRun, KindsWithoutAParserEndCleanly) {
    const char* names[] = {"MP4/3GP", "MPEG-2 TS", "FLV/F4V", "Matroska/WebM"};
    for (int kind = 0; kind < kContainerKinds; ++kind) {
        request_.container_kind = kind;
        const std::string expected = std::string(names[kind]) +
                                     " files cannot be read by this "
                                     "version yet";
        EXPECT_EQ(run_extraction(request_, nullptr).failure, expected);
        if (!find_format(kind)) {
            EXPECT_EQ(run_extraction(request_).failure, expected);
        }
    }
    for (const int kind : {-1, 4, 7}) {
        request_.container_kind = kind;
        EXPECT_EQ(run_extraction(request_).failure,
                  "the container kind " + std::to_string(kind) + " is unknown");
        EXPECT_STREQ(format_name(kind), "unknown");
    }
    EXPECT_TRUE(script_.steps.empty());
}

}  // namespace
}  // namespace tavimor
