#include "data/registry.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::test {

void NullDeviceTest::SetUp() {
    DataFolderTest::SetUp();
    m_device.keepPixels = true;
    gfx::g_textures.clear();
    gfx::g_textures.device = &m_device;
    gfx::g_draw = gfx::DrawState{};
    gfx::g_draw.device = &m_device;
    gfx::g_text = gfx::TextState{};
}

void NullDeviceTest::TearDown() {
    gfx::g_textures.clear();
    gfx::installDevice(nullptr);
    gfx::g_draw = gfx::DrawState{};
    gfx::g_text = gfx::TextState{};
    DataFolderTest::TearDown();
}

}  // namespace tessaly::test
