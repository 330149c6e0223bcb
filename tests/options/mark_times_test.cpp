#include "app/lang_text.h"
#include "options/mark_times.h"
#include "support/lang.h"

#include <gtest/gtest.h>

using namespace qorvid;
using qorvid::test::tw;

TEST(TypedMarks, FormRangeAndOrderOfBothBoxes)
{
    const std::string form = tw()[Msg::TimeFormatWrong] + "\r\nhh:mm:ss.s\r\nhh = 00 ~ 99\r\nmm = 00 ~ 59\r\nss = 00 ~ 59\r\ns = 0 ~ 9";
    struct Case {
        const char *start, *end;
        Msg message = Msg::None;
        int resetBox = -1;
        std::optional<float> from = {}, to = {};
    };
    const float length = 7200;
    for (const Case& c : std::vector<Case>{
             {"00:01:30.5", "99:59:59.9", Msg::None, -1, 90.5f, 359999.9f},
             {"00:00:01.0", "00:00:01.1", Msg::None, -1, 1.0f, 1.1f},
             {"00:00:00.0", "02:00:00.0", Msg::None, -1, {}, {}}, // from 0 to the very length: no range
             {"00:00:00.0", "01:59:59.9", Msg::None, -1, 0.0f, 7199.9f},
             // wrong digit counts and separators
             {"0:00:01.0", "00:00:02.0", Msg::TimeFormatWrong, 0, {}, {}}, {"000:00:01.0", "00:00:02.0", Msg::TimeFormatWrong, 0, {}, {}},
             {"00:1:30.5", "00:00:02.0", Msg::TimeFormatWrong, 0, {}, {}}, {"00:00:01.0", "00:00:02", Msg::TimeFormatWrong, 1, {}, {}},
             {"00:00:01.0", "00:00:02.55", Msg::TimeFormatWrong, 1, {}, {}}, {"00:00:01.0", "00:00:02,5", Msg::TimeFormatWrong, 1, {}, {}},
             {"00:00:01.0", " 00:00:02.0", Msg::TimeFormatWrong, 1, {}, {}}, {"", "00:00:02.0", Msg::TimeFormatWrong, 0, {}, {}},
             {"-0:00:01.0", "00:00:02.0", Msg::TimeFormatWrong, 0, {}, {}}, {"0a:00:01.0", "00:00:02.0", Msg::TimeFormatWrong, 0, {}, {}},
             // out of range
             {"00:60:00.0", "01:00:00.0", Msg::TimeFormatWrong, 0, {}, {}}, {"00:00:01.0", "00:61:00.0", Msg::TimeFormatWrong, 1, {}, {}},
             {"00:00:75.0", "01:00:00.0", Msg::TimeFormatWrong, 0, {}, {}}, {"00:00:01.0", "00:59:60.0", Msg::TimeFormatWrong, 1, {}, {}},
             // end not after start
             {"00:00:02.0", "00:00:01.0", Msg::MarkEndBeforeStart, 1, {}, {}}, {"00:00:01.0", "00:00:01.0", Msg::MarkEndBeforeStart, 1, {}, {}},
             {"01:00:00.0", "00:59:59.9", Msg::MarkEndBeforeStart, 1, {}, {}}}) {
        SCOPED_TRACE(std::string(c.start) + " | " + c.end);
        TypedMarks t = checkTypedMarks(c.start, c.end, length, tw());
        EXPECT_EQ(t.message, c.message);
        EXPECT_EQ(t.resetBox, c.resetBox);
        const std::string text = c.message == Msg::TimeFormatWrong ? form : c.message == Msg::MarkEndBeforeStart ? "標記結束時間，不能小於起始時間" : "";
        EXPECT_EQ(t.text, text);
        ASSERT_EQ(t.marks[0].has_value(), c.from.has_value());
        ASSERT_EQ(t.marks[1].has_value(), c.to.has_value());
        EXPECT_FLOAT_EQ(t.marks[0].value_or(-1), c.from.value_or(-1));
        EXPECT_FLOAT_EQ(t.marks[1].value_or(-1), c.to.value_or(-1));
    }
}
