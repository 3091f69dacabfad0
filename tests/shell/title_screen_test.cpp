#include <gtest/gtest.h>

#include "base/loading.h"
#include "shell/title_screen.h"

namespace tessaly::shell {
namespace {

TEST(TitleScreen, BarFollowsTheBytesLoadedUnclamped) {
    const base::LoadingProgress saved = base::g_loading;
    TitleScreen title;
    base::g_loading.loadedBytes = 0;
    EXPECT_FLOAT_EQ(title.progress(), 0.0f);
    base::g_loading.loadedBytes = kExpectedLoadBytes / 2;
    EXPECT_NEAR(title.progress(), 0.5f, 1e-6f);
    // A data set larger than expected makes the bar longer than the frame.
    base::g_loading.loadedBytes = kExpectedLoadBytes * 2;
    EXPECT_FLOAT_EQ(title.progress(), 2.0f);
    base::g_loading = saved;
}

TEST(TitleScreen, KeysAndClicksStartTheFade) {
    TitleScreen title;
    title.afterFrame();
    EXPECT_EQ(title.fadeClockMs(), 0.0f);  // nothing pressed
    title.onLeftButtonDown();
    EXPECT_EQ(title.lastKey, 13);  // a click counts as Enter
    title.afterFrame();
    EXPECT_EQ(title.fadeClockMs(), 1.0f);
    // That a second press does not restart a running fade is seen in the
    // end-to-end fade test, where the fade advances.
}

}  // namespace
}  // namespace tessaly::shell
