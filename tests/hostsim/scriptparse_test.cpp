// The script language: steps and their arguments, quoting, checks that
// reject a bad script before it runs, and ${NAME} expansion.
#include <gtest/gtest.h>

#include "hostsim/script.h"

namespace {

TEST(ScriptParse, StepsWithTheirArguments) {
  script::ParseResult r = script::Parse(
      "\xEF\xBB\xBF# a comment\r\n\r\n  open ${SCRIPT_DIR}/a b.pgn  \r\n"
      "menu Tools > More about players > Options...\n"
      "menu \"Tools > More about players > Add tags for \"\n"
      "key Down \"Alt+F4\" x\nmouse click 10 -5\nsort White descending\nmessage\n"
      "click #2\nheader\nwait-download\ntimers hold\nmenu-show Tools > More about players\n");
  ASSERT_TRUE(r.errors.empty()) << r.errors[0];
  ASSERT_EQ(r.steps.size(), 12u);
  EXPECT_EQ(r.steps[0].line, 3);
  EXPECT_EQ(r.steps[0].verb, "open");
  EXPECT_EQ(r.steps[0].words, std::vector<std::string>{"${SCRIPT_DIR}/a b.pgn"});
  EXPECT_EQ(r.steps[0].text, "open ${SCRIPT_DIR}/a b.pgn");
  EXPECT_EQ(r.steps[1].words[0], "Tools > More about players > Options...");
  EXPECT_EQ(r.steps[2].words[0], "Tools > More about players > Add tags for ");
  EXPECT_EQ(r.steps[3].words, (std::vector<std::string>{"Down", "Alt+F4", "x"}));
  EXPECT_EQ(r.steps[4].words, (std::vector<std::string>{"click", "10", "-5"}));
  EXPECT_TRUE(r.steps[6].words.empty());
  EXPECT_EQ(r.steps[11].words[0], "Tools > More about players");
}

TEST(ScriptParse, BadStepsAreAllReportedWithTheirLines) {
  script::ParseResult r = script::Parse(
      "fly away\nselect\nselect two\nmouse press 1 2\nmouse move 1\nkey\n"
      "menu \"unclosed\nmenu \"a\" \"b\"\nrclick now\nsort White sideways\nmouse-busy maybe\n"
      "open\ncompare one\ntimeout\ntimers stop\ntexts all\nmenu-show\nmenu-hide now\n"
      "env\nenv A b c\nopen fine.pgn\nenv NAME value\nenv NAME\n");
  std::vector<std::string> want = {"line 1: unknown step fly",
                                   "line 2: select needs a position",
                                   "line 3: select needs a position",
                                   "line 4: mouse needs move, down, up or click and two coordinates",
                                   "line 5: mouse needs move, down, up or click and two coordinates",
                                   "line 6: key needs at least one key",
                                   "line 7: a quote is not closed",
                                   "line 8: quote the whole argument of menu",
                                   "line 9: rclick takes no argument",
                                   "line 10: sort needs a column and optionally ascending or descending",
                                   "line 11: mouse-busy needs on or off",
                                   "line 12: open needs one argument",
                                   "line 13: compare needs two files",
                                   "line 14: timeout needs seconds",
                                   "line 15: timers needs hold or release",
                                   "line 16: texts takes no argument",
                                   "line 17: menu-show needs one argument",
                                   "line 18: menu-hide takes no argument",
                                   "line 19: env needs a name and optionally a value",
                                   "line 20: env needs a name and optionally a value"};
  EXPECT_EQ(r.errors, want);
  ASSERT_EQ(r.steps.size(), 3u);
  EXPECT_EQ(r.steps[0].line, 21);
  EXPECT_EQ(r.steps[1].words, (std::vector<std::string>{"NAME", "value"}));
}

TEST(ScriptParse, WordsKeepEscapedQuotes) {
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(script::SplitWords(R"(a "b c" "d\"e\\f" "")", words, error));
  EXPECT_EQ(words, (std::vector<std::string>{"a", "b c", "d\"e\\f", ""}));
}

TEST(ScriptExpand, NamesAreLookedUp) {
  auto lookup = [](const std::string& name, std::string& value) {
    if (name != "HOME") return false;
    value = "/root";
    return true;
  };
  std::string out, unknown;
  ASSERT_TRUE(script::Expand("${HOME}/x${HOME}", lookup, out, unknown));
  EXPECT_EQ(out, "/root/x/root");
  ASSERT_TRUE(script::Expand("plain $HOME ${unclosed", lookup, out, unknown));
  EXPECT_EQ(out, "plain $HOME ${unclosed");
  EXPECT_FALSE(script::Expand("a${NOPE}b", lookup, out, unknown));
  EXPECT_EQ(unknown, "NOPE");
}

}  // namespace
