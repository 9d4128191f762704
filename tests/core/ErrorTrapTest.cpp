#include "core/ErrorTrap.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace hv::test {
namespace {

TEST(ErrorReport, ForcedFailureShowsTheExactReportAndTheHandlerResumes) {
    FakeMessageBox messages;
    ErrorTrap trap(messages, "Form1", "PushButton7_Click");
    QStringList ran;
    trap(110, [&] {
        ran << "110";
        throw Failure("File not found");
    });
    trap(112, [&] { ran << "112"; });
    trap(114, [&] { throw std::runtime_error("Out of memory"); });
    EXPECT_EQ(ran, (QStringList{"110", "112"}));
    ASSERT_EQ(messages.shown.size(), 2u);
    const Message& report = messages.shown[0];
    EXPECT_EQ(report.text, "File not found\r\nin Velquist2021/08/31.Form1.PushButton7_Click at line 110\r\r"
                           "Please email screenshot of this message to support@halvorine.example");
    EXPECT_EQ(report.title, "Application Error");
    EXPECT_EQ(report.icon, MessageIcon::Warning);
    EXPECT_EQ(report.buttons, MessageButtons::Ok);
    EXPECT_TRUE(messages.shown[1].text.startsWith(
        "Out of memory\r\nin Velquist2021/08/31.Form1.PushButton7_Click at line 114\r\r"));
    EXPECT_EQ(trap.failures(), 2);

    ErrorTrap scan(messages, "AddFolder", "GetSubDirectories2016", "Quorlane");
    EXPECT_EQ(scan.procedurePath(), "Quorlane2021/08/31.AddFolder.GetSubDirectories2016");
}

} // namespace
} // namespace hv::test
