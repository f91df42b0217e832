// `players tag --fit-only` takes a clear hit of the name search only when
// the game's name fits it, --loose whether or not; a name the fit refuses is
// left open with its candidates, the report says what --loose would take,
// and a choice settles it. Places that carry a FIDE ID are decided by the ID
// alone. By default the evidence of the name's games decides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "pgn/pgnstream.h"
#include "players/playercodes.h"
#include "players/playerdatabase.h"
#include "tools/tagcollect.h"
#include "tools/tagreport.h"
#include "tools/tagrun.h"
#include "tools/tagwrite.h"

namespace {

struct TempFile {
  std::FILE* f = std::tmpfile();
  ~TempFile() { std::fclose(f); }
  std::string Text() {
    std::string text;
    std::rewind(f);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
    return text;
  }
};

std::string Game(const std::string& white, const std::string& black, const std::string& extra = "") {
  return "[Event \"E\"]\n[White \"" + white + "\"]\n[Black \"" + black + "\"]\n[Result \"*\"]\n" + extra +
         "\n*\n\n";
}

class FitRun : public ::testing::Test {
 protected:
  void SetUp() override {
    db = DatabaseOf(std::vector<PlayerRow>{{"Navara, David", 309095, 2706},
                                           {"Bocharov, Oleg", 4100000, 2500},
                                           {"Gireman, Ja", 5000017, 2000},
                                           {"Smith, John", 33, 1900},
                                           {"Smith, Bob", 22, 1800}});
    pgn = Game("Navara,D", "Bocharov,D") + Game("Cuartas,Ja", "Smith,J") +
          Game("Bocharov,D", "Navara,D", "[WhiteFIDE \"4100000\"]\n");
  }
  // Decides every name of pgn and writes the games and the report.
  void Run() {
    run.database = &db;
    run.options.rule = rule;
    TempFile in;
    std::fwrite(pgn.data(), 1, pgn.size(), in.f);
    std::rewind(in.f);
    {
      PgnReader reader(in.f);
      ASSERT_TRUE(CollectNames(reader, run));
    }
    DecideNames(run);
    std::rewind(in.f);
    TempFile out, report;
    ASSERT_TRUE(WriteTaggedGames(in.f, out.f, run));
    ASSERT_TRUE(WriteReport(report.f, run));
    games = out.Text();
    reportText = report.Text();
  }
  const NameRow& Row(const std::string& name) {
    for (const NameRow& row : run.names)
      if (row.name == name) return row;
    ADD_FAILURE() << "no row " << name;
    return run.names.front();
  }
  // The report's line of a name.
  std::string ReportLine(const std::string& name) {
    size_t at = reportText.find("\n" + name + "\t");
    if (at == std::string::npos) return {};
    return reportText.substr(at + 1, reportText.find('\n', at + 1) - at - 1);
  }

  PlayerDatabase db;
  std::string pgn, games, reportText;
  TagRun run;
  TagRule rule = TagRule::kFitOnly;
};

}  // namespace

TEST_F(FitRun, StrictTakesOnlyClearHitsThatFitTheName) {
  Run();
  EXPECT_EQ(Row("Navara,D").result, NameResult::kFound);
  EXPECT_EQ(Row("Navara,D").fideId, 309095);
  EXPECT_EQ(Row("Navara,D").looseFideId, 0);

  // One hit each, but the games' names contradict the players'.
  for (const char* name : {"Bocharov,D", "Cuartas,Ja"}) {
    const NameRow& row = Row(name);
    EXPECT_EQ(row.result, NameResult::kAmbiguous) << name;
    EXPECT_FALSE(row.takenWithoutChoice) << name;
    ASSERT_EQ(row.candidates.size(), 1u) << name << ": the hit is offered as a candidate";
  }
  EXPECT_EQ(Row("Bocharov,D").looseFideId, 4100000);
  EXPECT_EQ(Row("Cuartas,Ja").looseFideId, 5000017);
  EXPECT_EQ(ReportLine("Cuartas,Ja"),
            "Cuartas,Ja\t1\tambiguous\t\t\t--loose takes 5000017: the name does not fit Gireman, Ja\t"
            "5000017 Gireman, Ja (??"
            "?),  2000 ELO");
  // Several candidates: ambiguous under either rule, and not marked.
  EXPECT_EQ(Row("Smith,J").result, NameResult::kAmbiguous);
  EXPECT_EQ(Row("Smith,J").looseFideId, 0);
  EXPECT_EQ(Row("Smith,J").note, "");

  // The second game: neither player gets a tag.
  size_t second = games.find("[White \"Cuartas,Ja\"]");
  size_t third = games.find("[Event", second);
  EXPECT_EQ(games.substr(second, third - second).find("FIDE"), std::string::npos);
  EXPECT_NE(games.find("[WhiteFIDE \"309095\"]"), std::string::npos);
  EXPECT_NE(games.find("[BlackFIDE \"309095\"]"), std::string::npos);
  EXPECT_EQ(games.find("[BlackFIDE \"4100000\"]"), std::string::npos)
      << "the first game's Bocharov,D has no FIDE ID and is left open";
}

TEST_F(FitRun, PlacesWithAFideIdAreDecidedByTheIdAlone) {
  pgn = Game("Bocharov,D", "Navara,D", "[WhiteFIDE \"4100000\"]\n[WhiteElo \"1\"]\n");
  run.options.tags.overwriteElo = true;
  Run();
  EXPECT_NE(games.find("[WhiteElo \"2500\"]"), std::string::npos) << games;
  EXPECT_EQ(Row("Bocharov,D").looseFideId, 0);
  EXPECT_EQ(Row("Bocharov,D").result, NameResult::kById);
}

TEST_F(FitRun, LooseIsThePlugInsRuleAlone) {
  rule = TagRule::kLoose;
  Run();
  for (const auto& [name, id] :
       {std::pair{"Navara,D", 309095}, {"Bocharov,D", 4100000}, {"Cuartas,Ja", 5000017}}) {
    EXPECT_EQ(Row(name).result, NameResult::kFound) << name;
    EXPECT_EQ(Row(name).fideId, id) << name;
    EXPECT_EQ(Row(name).looseFideId, 0) << name;
    EXPECT_EQ(Row(name).note, "") << name;
  }
  EXPECT_EQ(Row("Smith,J").result, NameResult::kAmbiguous);
  EXPECT_NE(games.find("[BlackFIDE \"4100000\"]"), std::string::npos);
  EXPECT_NE(games.find("[WhiteFIDE \"5000017\"]"), std::string::npos);
}

TEST_F(FitRun, AChoiceSettlesANameTheFitRefused) {
  Run();
  std::map<std::string, int32_t> choices;
  ASSERT_EQ(ReadChoices(reportText, choices), "");
  EXPECT_TRUE(choices.empty()) << "the report itself chooses nothing";

  // The person fills in the choice column of the refused name's row.
  std::string line = ReportLine("Bocharov,D");
  ASSERT_FALSE(line.empty());
  std::string edited = reportText;
  std::string chosen = line;
  size_t tab = 0;
  for (int i = 0; i < 4; ++i) tab = chosen.find('\t', tab) + 1;
  chosen.insert(tab, "4100000");
  edited.replace(edited.find(line), line.size(), chosen);
  ASSERT_EQ(ReadChoices(edited, choices), "");
  EXPECT_EQ(choices, (std::map<std::string, int32_t>{{"Bocharov,D", 4100000}}));

  run = TagRun{};
  run.choices = choices;
  Run();
  EXPECT_EQ(Row("Bocharov,D").result, NameResult::kChosen);
  EXPECT_EQ(Row("Bocharov,D").fideId, 4100000);
  EXPECT_NE(games.find("[BlackFIDE \"4100000\"]"), std::string::npos);
  EXPECT_EQ(Row("Cuartas,Ja").result, NameResult::kAmbiguous) << "the other refused name stays open";
}

// ---- The default: the evidence of the name's games ----

TEST_F(FitRun, ByDefaultTheEvidenceOfTheGamesSettlesNames) {
  rule = TagRule::kEvidence;
  pgn = Game("Navara,D", "Smith,J", "[WhiteElo \"2700\"]\n[BlackElo \"1850\"]\n") +
        Game("Bocharov,D", "Smith,J", "[BlackElo \"1870\"]\n") +
        Game("Smith,B", "Navara,D", "[WhiteElo \"1100\"]\n[BlackFIDE \"309095\"]\n[BlackElo \"2000\"]\n");
  Run();
  EXPECT_EQ(Row("Navara,D").result, NameResult::kFound);
  EXPECT_EQ(Row("Navara,D").note, "1 fits; Elo 2700 vs 2706") << "the game with a FIDE ID gives no evidence";
  EXPECT_EQ(Row("Smith,J").fideId, 33);
  EXPECT_EQ(Row("Smith,J").note, "1 fits; Elo 1860 vs 1900");
  EXPECT_TRUE(Row("Smith,J").byEvidence);
  // The one that fits, 700 away: asked, and shown.
  EXPECT_EQ(Row("Smith,B").result, NameResult::kAmbiguous);
  EXPECT_EQ(Row("Smith,B").note, "asked: Elo 1100 vs 1800");
  ASSERT_EQ(Row("Smith,B").candidates.size(), 1u);
  // Nobody fits: the word search's players are shown for a person.
  EXPECT_EQ(Row("Bocharov,D").result, NameResult::kNotFound);
  EXPECT_EQ(Row("Bocharov,D").note, "no player fits");
  ASSERT_EQ(Row("Bocharov,D").candidates.size(), 1u);
  EXPECT_EQ(ReportLine("Bocharov,D"),
            "Bocharov,D\t1\tnot found\t\t\tno player fits\t4100000 Bocharov, Oleg (??"
            "?),  2500 ELO");
  EXPECT_EQ(std::count(games.begin(), games.end(), '\n') - std::count(pgn.begin(), pgn.end(), '\n'), 3)
      << "the FIDE IDs of Navara,D (one place) and Smith,J (two); their games have an Elo";
}

TEST_F(FitRun, ANationalTeamKeepsItsFederationsPlayers) {
  rule = TagRule::kEvidence;
  const uint8_t rus = static_cast<uint8_t>(FederationByCode("RUS"));
  const uint8_t ukr = static_cast<uint8_t>(FederationByCode("UKR"));
  db = DatabaseOf(std::vector<PlayerRow>{{"Popov, Ivan", 1, 2600, Sex::kMale, Title::kGM, rus},
                                         {"Popov, Igor", 2, 2590, Sex::kMale, Title::kGM, ukr}});
  const std::string olympiad = "[WhiteTeam \"Russia\"]\n[BlackTeam \"Ukraine\"]\n[WhiteElo \"2600\"]\n";
  pgn = Game("Popov,I", "Smith,J", olympiad) + Game("Popov,I", "Smith,J", "[WhiteElo \"2595\"]\n");
  Run();
  EXPECT_EQ(Row("Popov,I").fideId, 1) << Row("Popov,I").note;
  // A club match between teams named after no country says nothing.
  run = TagRun{};
  pgn =
      Game("Popov,I", "Smith,J", "[WhiteTeam \"Russia\"]\n[BlackTeam \"Vandoeuvre\"]\n[WhiteElo \"2600\"]\n");
  Run();
  EXPECT_EQ(Row("Popov,I").result, NameResult::kAmbiguous);
}

TEST_F(FitRun, WithAHistoryTheEloIsComparedWithTheRatingOfTheGamesMonth) {
  rule = TagRule::kEvidence;
  RatingHistory history;
  ASSERT_TRUE(AddList(history[RatingKind::kStandard], MakeMonth(2012, 1),
                      std::vector<ListRating>{{33, 1900}, {309095, 2500}}));
  pgn = Game("Navara,D", "Smith,J", "[Date \"2012.02.10\"]\n[WhiteElo \"2490\"]\n[BlackElo \"2100\"]\n");
  Run();
  EXPECT_EQ(Row("Navara,D").result, NameResult::kAmbiguous) << "216 from today's 2706";
  run = TagRun{};
  run.options.history = &history;
  Run();
  EXPECT_EQ(Row("Navara,D").result, NameResult::kFound);
  EXPECT_EQ(Row("Navara,D").note.substr(0, 24), "1 fits; Elo 2490 vs 2500");
  // Within the list's gate, beyond the history's.
  EXPECT_EQ(Row("Smith,J").result, NameResult::kAmbiguous);
  EXPECT_EQ(Row("Smith,J").note.substr(0, 23), "asked: Elo 2100 vs 1900");
}
