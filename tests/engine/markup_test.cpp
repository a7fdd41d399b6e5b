// Markup translated between SRT tags, SSA override blocks and frame line
// codes, and removed: each case with its neighbours, and what is dropped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup.h"

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at; (at = text.find(separator)) != std::string_view::npos; text.remove_prefix(at + 1))
        parts.push_back(text.substr(0, at));
    parts.push_back(text);
    return parts;
}

std::string joined(const std::vector<std::string>& lines, const char* separator) {
    std::string text;
    for (const std::string& l : lines) text += (text.empty() && &l == &lines[0] ? "" : separator) + l;
    return text;
}

// The lines written, then " #N" for N pieces of markup dropped.
std::string withDropped(const std::string& text, const MarkupDropped& dropped) {
    return dropped.count ? text + " #" + std::to_string(dropped.count) : text;
}

MarkedText srt(std::string_view text, MarkupDropped* dropped, bool unicode = true) {
    const std::vector<std::string_view> lines = split(text, '|');
    return readSrtMarkup(lines.data(), static_cast<std::int32_t>(lines.size()), 1, unicode, dropped);
}

std::string srtToSsa(std::string_view text) {
    MarkupDropped dropped;
    return withDropped(writeSsaMarkup(srt(text, &dropped), true)[0], dropped);
}

// The style of the scripts the program writes.
const SsaStyle kOutputStyle{"Default", {}, 2, "Tahoma", "50"};

std::string ssaToSrt(std::string_view text, const SsaStyle* style = &kOutputStyle) {
    MarkupDropped dropped;
    return withDropped(joined(writeSrtMarkup(readSsaMarkup(text, style, 1, true, &dropped)), "|"), dropped);
}

std::string frameToSrt(std::string_view text) {
    MarkupDropped dropped;
    return withDropped(joined(writeSrtMarkup(readFrameMarkup(text, 1, &dropped)), "|"), dropped);
}

std::string srtToFrame(std::string_view text) {
    MarkupDropped dropped;
    const MarkedText marked = srt(text, &dropped);
    return withDropped(joined(writeFrameMarkup(marked, &dropped), "|"), dropped);
}

TEST(Markup, SrtToSsaAndBack) {
    const struct {
        const char* srt;
        const char* ssa;
        const char* back;  // the SRT that the SSA gives back
    } cases[] = {
        {"<i>Italic</i> and <b>bold</b>", "{\\i1}Italic{\\i0} and {\\b1}bold{\\b0}", "<i>Italic</i> and <b>bold</b>"},
        {"<B>a <i>b</b> c</I> d", "{\\b1}a {\\i1}b{\\b0} c{\\i0} d", "<b>a <i>b</i></b><i> c</i> d"},
        {"<i>a <i>b</i> c</i>", "{\\i1}a b c{\\i0}", "<i>a b c</i>"},
        {"<u>u</u><s >s</s>", "{\\u1}u{\\u0\\s1}s{\\s0}", "<u>u</u><s>s</s>"},
        {"</i>closed<i></i> twice", "closed twice", "closed twice"},
        {"<font color=\"#FF8000\">orange</font>", "{\\c&H0080FF&}orange{\\c&HFFFFFF&}",
         "<font color=\"#ff8000\">orange</font>"},
        {"<font color=\"#F80\">d", "{\\c&H0088FF&}d", "<font color=\"#ff8800\">d</font>"},
        {"<font COLOR=red>a<font face='Arial' color=0x0000ff>b</font>c</font>",
         "{\\c&H0000FF&}a{\\fnArial\\c&HFF0000&}b{\\fnTahoma\\c&H0000FF&}c{\\c&HFFFFFF&}",
         "<font color=\"#ff0000\">a</font><font color=\"#0000ff\" face=\"Arial\">b</font><font "
         "color=\"#ff0000\">c</font>"},
        {"<font size=\"30\" color=\"00ff00\">g</font>", "{\\fs30\\c&H00FF00&}g{\\fs50\\c&HFFFFFF&}",
         "<font color=\"#00ff00\" size=\"30\">g</font>"},
        {"<font color=\"nocolour\">kept</font>", "kept #1", "kept"},
        {"x < y and y > z; I <3 you", "x < y and y > z; I <3 you", "x < y and y > z; I <3 you"},
        {"<<Bonjour>>", "<<Bonjour>>", "<<Bonjour>>"},
        {"a<b and c>d, a<", "a<b and c>d, a<", "a<b and c>d, a<"},
        {"Tom & Jerry &amp; co &lt;", "Tom & Jerry &amp; co &lt;", "Tom & Jerry &amp; co &lt;"},
        {"<blink>on</blink> <span class=\"x\">off</span>", "on off #4", "on off"},
        {"{\\an8}Top line", "{\\a6}Top line", "{\\an8}Top line"},
        {"Top {\\an7}{\\an9}left", "{\\a5}Top left", "{\\an7}Top left"},
        {"{\\i1}ssa{\\i0} in srt {\\pos(1,2)}", "{\\i1}ssa{\\i0} in srt  #1", "<i>ssa</i> in srt "},
        {"one<br>two<BR/>three<br />four", "one\\Ntwo\\Nthree\\Nfour", "one|two|three|four"},
        {"<i>Line one|line two</i>", "{\\i1}Line one\\Nline two{\\i0}", "<i>Line one|line two</i>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(srtToSsa(c.srt), c.ssa) << c.srt;
        const std::string ssa = writeSsaMarkup(srt(c.srt, nullptr), true)[0];
        EXPECT_EQ(ssaToSrt(ssa), c.back) << c.srt;
    }
}

TEST(Markup, SsaToSrt) {
    SsaStyle sign{"Sign", {}, 8, "Arial", "20"};
    sign.state.bold = sign.state.italic = true;
    sign.state.colour = 0xFF0000;
    const struct {
        const char* ssa;
        const SsaStyle* style;
        const char* srt;
    } cases[] = {
        {"{\\a6}Top", nullptr, "{\\an8}Top"},
        {"{\\an3}{\\a6}Right", nullptr, "{\\an3}Right"},
        {"{\\i1\\b1}both{\\b0} italic only{\\i0}", nullptr, "<i><b>both</b> italic only</i>"},
        {"{\\c&H0000FF&}red{\\c} {\\1c&H00FF00&}green", nullptr,
         "<font color=\"#ff0000\">red</font> <font color=\"#00ff00\">green</font>"},
        {"{a comment}visible {\\k20}kara{\\k30}oke", nullptr, "visible karaoke #3"},
        {"a {\\i1 unterminated", nullptr, "a {\\i1 unterminated"},
        {"Sign", &sign, "{\\an8}<font color=\"#ff0000\"><b><i>Sign</i></b></font>"},
        {"{\\i0}Sign{\\r}again", &sign,
         "{\\an8}<font color=\"#ff0000\"><b>Sign<i>again</i></b></font>"},
        {"{\\b700}heavy{\\b400}light{\\b}style", &sign,
         "{\\an8}<font color=\"#ff0000\"><b><i>heavy</i></b><i>light<b>style</b></i></font>"},
        {"{\\fnArial\\fs20}f{\\fn\\fs}", nullptr, "<font face=\"Arial\" size=\"20\">f</font>"},
        {"1\\N2\\n3\\h4\\x", nullptr, "1|2|3\xC2\xA0" "4\\x"},
        {"{\\p1}m 0 0 l 1 1{\\p0}text {\\t(\\fs20\\c&HFF&)\\bord2\\clip(1,2,3,4)}", nullptr, "text  #5"},
        {"{\\i1}a{\\i1}b", nullptr, "<i>ab</i>"},
        {"}{ stray", nullptr, "}{ stray"},
    };
    for (const auto& c : cases) EXPECT_EQ(ssaToSrt(c.ssa, c.style), c.srt) << c.ssa;
    MarkupDropped dropped;
    readSsaMarkup("{\\pos(10,20)}x", nullptr, 7, true, &dropped);
    ASSERT_EQ(dropped.count, 1);
    EXPECT_EQ(dropped.first[0].line, 7);
    EXPECT_EQ(dropped.first[0].text, "{\\pos(10,20)}");
    EXPECT_EQ(visibleText(readSsaMarkup("a\\hb", nullptr, 1, false, nullptr)), "a b");
}

TEST(Markup, FrameLines) {
    const struct {
        const char* frame;
        const char* srt;
    } reading[] = {
        {"{y:i}italic|plain", "<i>italic</i>|plain"},
        {"{Y:i}all|still", "<i>all|still</i>"},
        {"{c:$0000FF}red|plain", "<font color=\"#ff0000\">red</font>|plain"},
        {"{y:b,i}{Y:u}a|{y:ib}b", "<u><b><i>a</i></b>|<b><i>b</i></b></u>"},
        {"plain {y:i}mid", "plain {y:i}mid"},
        {"{ y:i}blank", "{ y:i}blank"},
        {"{f:Arial}{s:20}x|{C:$00FF00}y", "<font face=\"Arial\" size=\"20\">x</font>|<font color=\"#00ff00\">y</font>"},
        {"{P:1}{o:0,5}{H:x}{c:red}text", "text #4"},
    };
    for (const auto& c : reading) EXPECT_EQ(frameToSrt(c.frame), c.srt) << c.frame;
    const struct {
        const char* srt;
        const char* frame;
    } writing[] = {
        {"<i>Line one|line two</i>", "{Y:i}Line one|line two"},
        {"<i>first</i>|second", "{y:i}first|second"},
        {"<i>Italic</i> and bold", "Italic and bold #1"},
        {"<b><i>both</i></b>", "{Y:b}{Y:i}both"},
        {"<font color=\"#ff0000\">red</font>|<u>u</u>", "{c:$0000FF}red|{y:u}u"},
        {"{\\an8}top", "top #1"},
    };
    for (const auto& c : writing) EXPECT_EQ(srtToFrame(c.srt), c.frame) << c.srt;
    EXPECT_EQ(frameToSrt("{1}{1}25"), "{1}{1}25");
}

TEST(Markup, StripKeepsTheText) {
    const struct {
        const char* srt;
        const char* plain;
    } cases[] = {
        {"<b>a <i>b</b> c</i> d", "a b c d"},
        {"{\\an8}<font color=red>red</font>|<br>x", "red||x"},
    };
    for (const auto& c : cases) EXPECT_EQ(joined(plainLines(srt(c.srt, nullptr)), "|"), c.plain) << c.srt;
    EXPECT_EQ(joined(plainLines(readSsaMarkup("{\\c&H0000FF&}red{\\c} {\\1c&H00FF00&}green", nullptr, 1, true,
                                              nullptr)),
                     "|"),
              "red green");
}

TEST(Markup, Colours) {
    const struct {
        const char* text;
        std::int32_t rgb;  // -2: not a colour
    } cases[] = {
        {"#FF8000", 0xFF8000}, {"ff8000", 0xFF8000}, {"0xFF8000", 0xFF8000}, {"#f80", 0xFF8800},
        {"RebeccaPurple", 0x663399}, {"f80", -2}, {"#ff80", -2}, {"#gg0000", -2}, {"", -2},
    };
    for (const auto& c : cases) {
        std::int32_t rgb = -2;
        if (!readHtmlColour(c.text, rgb)) rgb = -2;
        EXPECT_EQ(rgb, c.rgb) << c.text;
    }
}

TEST(Markup, StylesOfAScript) {
    const std::string script =
        "[V4 Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, BackColour, "
        "Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, AlphaLevel, Encoding\n"
        "Style: Sign,Arial,20,255,0,0,0,-1,-1,1,2,0,6,10,10,10,0,0\n"
        "Style: Default,Tahoma,50,16777215,65535,65535,-2147483640,-1,0,1,2,0,2,80,80,80,0,0\n"
        "[V4+ Styles]\nFormat: Name, PrimaryColour, Bold, Italic, Alignment\nStyle: Top, &H00FF0000, 0, 0, 8\n";
    LineStore store;
    ASSERT_FALSE(loadLinesFromMemory(store, script.data(), script.size()));
    const std::vector<SsaStyle> styles = readSsaStyles(store);
    ASSERT_EQ(styles.size(), 3u);
    EXPECT_TRUE(styles[0].state.bold && styles[0].state.italic);
    EXPECT_EQ(styles[0].state.colour, 0xFF0000);
    EXPECT_EQ(styles[0].position, 8);
    EXPECT_EQ(styles[1].state.colour, kNoColour);
    EXPECT_EQ(styles[2].state.colour, 0x0000FF);
    EXPECT_EQ(styles[2].position, 8);
    EXPECT_EQ(styleNamed(styles, "*Sign"), &styles[0]);
    EXPECT_EQ(styleNamed(styles, "Missing"), &styles[1]);
}

}  // namespace
