#include "ui/text/QtText.h"

#include <gtest/gtest.h>

#include "text/Codec.h"

namespace pelko::ui {
namespace {

TEST(QtTextTest, ModelBytesRoundTripThroughQt) {
    const struct {
        const char* utf8;
    } cases[] = {{"光盘管理"}, {"€ and ASCII"}, {"😀 beyond GBK"}, {""}};
    for (const auto& c : cases) {
        const std::string model = text::Local(c.utf8);
        EXPECT_EQ(ToQt(model), QString::fromUtf8(c.utf8)) << c.utf8;
        EXPECT_EQ(FromQt(ToQt(model)), model) << c.utf8;
    }
    EXPECT_EQ(ToQt(std::string("\x80", 1)), QString::fromUtf8("€")) << "0x80 is the euro sign of code page 936";
}

}  // namespace
}  // namespace pelko::ui
