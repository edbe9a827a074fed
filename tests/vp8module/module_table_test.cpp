// The VP8 module's table as its factory hands it out.
#include <gtest/gtest.h>

#include "vp8module/vp8_module.h"

namespace tavimor {
namespace {

TEST(Vp8ModuleTable, IsFilledOnceAndKept) {
    CodecModule* first = create_vp8_module();
    ASSERT_NE(first->is_open, nullptr);
    ASSERT_NE(first->refresh, nullptr);
    ASSERT_NE(first->dialog_filter, nullptr);
    ASSERT_NE(first->state, nullptr);
    auto kept = first->tick;
    first->tick = nullptr;  // a refill would put the operation back
    CodecModule* second = create_vp8_module();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->tick, nullptr);
    first->tick = kept;
}

TEST(Vp8ModuleTable, AnswersSafelyWithoutAStream) {
    CodecModule* vp8 = create_vp8_module();
    EXPECT_EQ(vp8->is_open(0), 0);
    vp8->close();  // closing with nothing open is harmless
    EXPECT_EQ(vp8->refresh(1), 0);
    EXPECT_EQ(vp8->tick(), 0);
    EXPECT_EQ(vp8->is_open(0), 0);
}

}  // namespace
}  // namespace tavimor
