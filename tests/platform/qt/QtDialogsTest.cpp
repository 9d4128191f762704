#include "platform/qt/QtDialogs.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(QtDialogs, FiltersAreTranslatedToTheQtForm) {
    EXPECT_EQ(qtFilterFromPipes("Photoshop Files (*.psd)|*.psd|"), "Photoshop Files (*.psd)");
    EXPECT_EQ(qtFilterFromPipes("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"),
              "Text Files (*.txt);;All Files (*.*)");
    EXPECT_EQ(qtFilterFromPipes("Pictures|*.psd;*.psb|"), "Pictures (*.psd *.psb)");
}

} // namespace
} // namespace hv
