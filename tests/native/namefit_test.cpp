#include <gtest/gtest.h>

#include "players/playercodes.h"
#include "players/playerdatabase.h"
#include "players/playersearch.h"
#include "tagrules/namefit.h"
#include "tagrules/tagrules.h"

TEST(NameFit, ExamplesOfTheGamesAgainstTheList) {
  EXPECT_TRUE(NameFits("Navara,D", "Navara, David"));
  EXPECT_TRUE(NameFits("Liren, Ding", "Ding, Liren")) << "the words in any order";
  EXPECT_TRUE(NameFits("Berg, Anna van der", "van der Berg, Anna"));
  EXPECT_TRUE(NameFits("Vachier-Lagrave,M", "Vachier-Lagrave, Maxime"));
  EXPECT_TRUE(NameFits("Carlsen, Magnus", "Carlsen, Magnus"));
  EXPECT_FALSE(NameFits("Kowalsky, Jan", "Kowalski, Jan")) << "a word differs by one letter";
  EXPECT_FALSE(NameFits("Dog, Q.", "Dog, Peter")) << "the initial begins no further word";
  // What the clear-cut rule took wrongly on real data: one shared word.
  EXPECT_FALSE(NameFits("Cuartas,Ja", "Gireman, Ja"));
  EXPECT_FALSE(NameFits("Bocharov,D", "Bocharov, Oleg"));
  EXPECT_FALSE(NameFits("Akshat,Chandra", "Lama, Prakash Chandra"));
  EXPECT_FALSE(NameFits("Alonso Moyano,J", "Villar Alonso, Javier"));
}

TEST(NameFit, WholeWordsIgnoringCaseOnlyOfASCIILetters) {
  EXPECT_TRUE(NameFits("NAVARA, david", "Navara, David"));
  EXPECT_FALSE(NameFits("Nava, David", "Navara, David")) << "part of a word is no word";
  EXPECT_FALSE(NameFits("Navarra, David", "Navara, David"));
  EXPECT_FALSE(NameFits("Navara, David", "Navara")) << "every word of the game must be found";
  EXPECT_TRUE(NameFits("Navara", "Navara, David")) << "the list may say more";
  EXPECT_TRUE(NameFits("Navara,D.", "Navara, David"));
  EXPECT_TRUE(NameFits("D. Navara", "Navara, David"));
  EXPECT_TRUE(NameFits("Navara D", "Navara, David"));
  EXPECT_TRUE(NameFits("Navara,D 2706", "Navara, David")) << "digits are no letters";
  EXPECT_TRUE(NameFits("Navara2,D", "Navara, David")) << "in the game's name they end a run";
  EXPECT_FALSE(NameFits("Navara,D", "Navara2, David")) << "in the list's, a word ends at a separator only";
  EXPECT_FALSE(NameFits("Navara (CZE),D", "Navara, David")) << "every run is a word to find";
}

TEST(NameFit, ParticlesHyphensAndApostrophes) {
  EXPECT_TRUE(NameFits("van der Berg,A", "van der Berg, Anna"));
  EXPECT_TRUE(NameFits("Berg,A", "van der Berg, Anna")) << "particles may be left out";
  EXPECT_TRUE(NameFits("vd Berg, A", "van der Berg, Anna") == false) << "an abbreviation is no word";
  EXPECT_TRUE(NameFits("Van Der Berg, Anna", "van der Berg, Anna"));
  EXPECT_FALSE(NameFits("Vanderberg, Anna", "van der Berg, Anna"));
  // A hyphen separates words on both sides; joined halves are one other word.
  EXPECT_TRUE(NameFits("Vachier Lagrave, Maxime", "Vachier-Lagrave, Maxime"));
  EXPECT_TRUE(NameFits("Lagrave,M", "Vachier-Lagrave, Maxime"));
  EXPECT_FALSE(NameFits("VachierLagrave,M", "Vachier-Lagrave, Maxime"));
  EXPECT_TRUE(NameFits("Anne-Marie, Dupont", "Dupont, Anne Marie"));
  // The apostrophe separates too, so the O of O'Brien is an initial.
  EXPECT_TRUE(NameFits("O'Brien,J", "O'Brien, John"));
  EXPECT_TRUE(NameFits("O Brien, J", "O'Brien, John"));
  EXPECT_FALSE(NameFits("OBrien,J", "O'Brien, John"));
  EXPECT_FALSE(NameFits("O'Brien,J", "Brien, John")) << "the O begins no further word";
  EXPECT_TRUE(NameFits("D'Costa,A", "D'Costa, Anthony"));
}

TEST(NameFit, InitialsNeedFurtherWordsOfTheirLetter) {
  EXPECT_TRUE(NameFits("Mamedyarov,S", "Mamedyarov, Shakhriyar"));
  EXPECT_TRUE(NameFits("Mamedyarov,s.", "Mamedyarov, Shakhriyar")) << "ignoring case";
  EXPECT_TRUE(NameFits("So,W", "So, Wesley")) << "a two-letter surname is a word";
  EXPECT_TRUE(NameFits("Li,W.M.", "Li, Wei Ming"));
  EXPECT_TRUE(NameFits("Li,WM", "Li, Wm")) << "WM is a run of letters: a word, not two initials";
  EXPECT_FALSE(NameFits("Li,WM", "Li, Wei Ming"));
  EXPECT_FALSE(NameFits("Li,W.W.", "Li, Wei Ming")) << "two initials need two words";
  EXPECT_TRUE(NameFits("Li,W.W.", "Li, Wei Wang"));
  EXPECT_FALSE(NameFits("Ding,D", "Ding, Liren")) << "a word serves a run or an initial, not both";
  EXPECT_TRUE(NameFits("Dale,D", "Dale, David"));
  EXPECT_TRUE(NameFits("D,David", "Dale, David")) << "the run takes david, the initial dale";
  EXPECT_TRUE(NameFits("J. D.", "Doe, John")) << "initials alone fit";
  EXPECT_TRUE(NameFits("O,John", "O, John")) << "a one-letter word of the list begins with itself";
}

TEST(NameFit, RepeatedWordsEachTakeTheirOwn) {
  EXPECT_FALSE(NameFits("Ann Ann", "Ann, Lee"));
  EXPECT_TRUE(NameFits("Ann Ann", "Ann, Ann"));
  EXPECT_TRUE(NameFits("Ann, Ann Lee", "Lee, Ann Ann"));
  EXPECT_TRUE(NameFits("Ann", "Ann, Ann")) << "a word of the list may stay unused";
  EXPECT_FALSE(NameFits("Ann, A", "Ann, Lee"));
  EXPECT_TRUE(NameFits("Ann, A", "Ann, Ann"));
}

TEST(NameFit, BytesAboveASCIIOnlyDelimitRuns) {
  // "M\xFCller" in Latin-1: the game's runs are the initial M and ller, and
  // ller is no whole word of the list's name.
  EXPECT_FALSE(NameFits("M\xFCller, Hans", "M\xFCller, Hans"));
  EXPECT_FALSE(NameFits("M\xC3\xBCller, Hans", "Mueller, Hans"));
  EXPECT_TRUE(NameFits("Hans", "M\xFCller, Hans")) << "the ASCII runs decide";
  EXPECT_TRUE(NameFits("\xC3\xA9, Hans", "M\xFCller, Hans")) << "an accent alone is neither word nor initial";
  EXPECT_TRUE(NameFits("Jos\xE9 Cuenca, J", "Cuenca, Jose Jesus") == false) << "Jos is no word";
  EXPECT_TRUE(NameFits("Cuenca, J", "Cuenca, Jos\xE9"));
  // Bytes above 127 are word bytes in the list: a word beginning with one is
  // the further word of no initial.
  EXPECT_FALSE(NameFits("Hans, E", "Hans, \xC9mile"));
}

TEST(NameFit, EmptyAndOddNames) {
  EXPECT_TRUE(NameFits("", "Navara, David")) << "nothing to contradict";
  EXPECT_TRUE(NameFits("?", "Navara, David"));
  EXPECT_FALSE(NameFits("Navara", ""));
  EXPECT_FALSE(NameFits("N", ""));
  EXPECT_FALSE(NameFits("N", ", ,"));
  EXPECT_TRUE(NameFits("", ""));
  std::string longName(300, 'a');
  EXPECT_TRUE(NameFits(longName, "x, " + longName));
  EXPECT_FALSE(NameFits(longName + " b", "x, " + longName));
}

TEST(NameFit, AClearHitIsTakenUnwatchedOnlyWhenTheNameFitsIt) {
  const PlayerDatabase db = DatabaseOf(std::vector<PlayerRow>{
      {"Navara, David", 309095}, {"Bocharov, Oleg", 4100000}, {"Smith, John", 33}, {"Smith, Bob", 22}});
  EXPECT_TRUE(IsClearFit(db, "Navara,D", WordSearch(db, "Navara,D")));
  EXPECT_TRUE(IsClearCut(WordSearch(db, "Bocharov,D")));
  EXPECT_FALSE(IsClearFit(db, "Bocharov,D", WordSearch(db, "Bocharov,D"))) << "the only Bocharov, but not D.";
  EXPECT_FALSE(IsClearFit(db, "Smith,J", WordSearch(db, "Smith,J"))) << "not clear-cut: two Smiths";
  EXPECT_FALSE(IsClearFit(db, "Navara,D", {}));
  // The first hit decides: a player known by FIDE ID may have been moved up.
  EXPECT_FALSE(IsClearFit(db, "Navara,D", std::vector<SearchHit>{{1, 1}}));
  EXPECT_FALSE(IsClearFit(db, "Navara,D", std::vector<SearchHit>{{7, 1}})) << "an index outside the list";
}

// ---- The extended fit: the forms of game records ----

namespace {

bool Fits(std::string_view game, std::string_view player) { return FormFits(ReadNameForm(game), player); }

std::string Parts(const NameForm& f) {
  std::string text;
  for (const FormToken& t : f.tokens)
    text += t.text + (t.part == FormPart::kWhole ? "=" : t.part == FormPart::kStart ? "+" : "*") + " ";
  return text + f.initials;
}

}  // namespace

TEST(NameForm, TrailingDecorationsAreDroppedAndRemembered) {
  NameForm f = ReadNameForm("Popov,Iv RUS");
  EXPECT_EQ(Parts(f), "popov= iv+ ");
  EXPECT_EQ(FederationCode(f.federation), "RUS");
  EXPECT_FALSE(f.namesake);
  for (const char* name :
       {"Biolek,R1", "Beran,Petr2", "Potapov,Alexa1", "Smith,John jr", "Smith, John Jr.", "Smith,J Sr"})
    EXPECT_TRUE(ReadNameForm(name).namesake) << name;
  f = ReadNameForm("Horak,Ji12 CZE");
  EXPECT_EQ(Parts(f), "horak= ji+ ");
  EXPECT_TRUE(f.namesake);
  EXPECT_EQ(FederationCode(f.federation), "CZE");
  EXPECT_EQ(Parts(ReadNameForm("Smith,John jr")), "smith= john+ ");
  // What stays: a given part, digits after a blank or beyond two, a code
  // that is no federation or stands right after the comma.
  EXPECT_EQ(Parts(ReadNameForm("Narayanan,Sr")), "narayanan= sr+ ");
  EXPECT_FALSE(ReadNameForm("Navara,D 2706").namesake);
  EXPECT_FALSE(ReadNameForm("Navara,D123").namesake);
  EXPECT_EQ(Parts(ReadNameForm("Kumar,IND")), "kumar= ind* ");
  EXPECT_EQ(ReadNameForm("Kumar,A XYZ").federation, 0);
}

TEST(NameForm, SurnameWholeGivenPartsStartsOrInitials) {
  EXPECT_EQ(Parts(ReadNameForm("Le Roux,JP")), "le= roux= jp* ");
  EXPECT_EQ(Parts(ReadNameForm("Knudsen,JesW")), "knudsen= jes+ w");
  EXPECT_EQ(Parts(ReadNameForm("Krishna,CRGA")), "krishna= crga+ ") << "four capitals are a start only";
  EXPECT_EQ(Parts(ReadNameForm("O'Brien,J")), "brien= oj");
  EXPECT_EQ(Parts(ReadNameForm("Ding Liren")), "ding= liren= ") << "without a comma every run is whole";
  EXPECT_EQ(Parts(ReadNameForm(", Mayilsamy K")), "mayilsamy= k");
}

TEST(ExtendedFit, TheFormsOfGameRecords) {
  EXPECT_TRUE(Fits("Kaczmarek,Ar", "Kaczmarek, Arkadiusz"));
  EXPECT_TRUE(Fits("Lie,Es", "Lie, Espen"));
  EXPECT_TRUE(Fits("Potapov,Alexa1", "Potapov, Alexander"));
  EXPECT_TRUE(Fits("Nisipeanu,LD", "Nisipeanu, Liviu-Dieter"));
  EXPECT_TRUE(Fits("Le Roux,JP", "Le Roux, Jean-Pierre"));
  EXPECT_TRUE(Fits("Popov,Iv RUS", "Popov, Ivan"));
  EXPECT_TRUE(Fits("Biolek,R1", "Biolek, Richard"));
  EXPECT_TRUE(Fits("Beran,Petr2", "Beran, Petr"));
  EXPECT_TRUE(Fits("Andersen,AlfR", "Andersen, Alf Roger"));
  EXPECT_TRUE(Fits("Li,WM", "Li, Wm")) << "a start";
  EXPECT_TRUE(Fits("Li,WM", "Li, Wei Ming")) << "or initials";
  EXPECT_TRUE(Fits("Sengupta,D", "Sengupta, Deep"));
  EXPECT_TRUE(Fits("Navara,D", "Navara, David")) << "the whole-word fit still fits";
  EXPECT_TRUE(Fits("Liren, Ding", "Ding, Liren"));
}

TEST(ExtendedFit, WhatItStillRefuses) {
  EXPECT_FALSE(Fits("Muzychuk,A", "Muzychuk, Mariya"));
  EXPECT_FALSE(Fits("Sengupta,D", "Arka Sengupta"));
  EXPECT_FALSE(Fits("Bocharov,D", "Bocharov, Oleg"));
  EXPECT_FALSE(Fits("Kaczmarek,Ar", "Kaczmarek, Tomasz"));
  EXPECT_FALSE(Fits("Nava,D", "Navara, David")) << "the surname is a whole word";
  EXPECT_FALSE(Fits("Kowalsky,Jan", "Kowalski, Jan"));
  EXPECT_FALSE(Fits("Lie,Espen", "Lie, Es")) << "a start is of the game's name, not the list's";
  EXPECT_FALSE(Fits("Kumar,K", "Kumar, Rahul")) << "each word of the list serves once";
  EXPECT_TRUE(Fits("Nisipeanu,LDX", "Nisipeanu, Liviu-Dieter Xaver"));
  EXPECT_FALSE(Fits("Nisipeanu,LDXY", "Nisipeanu, Liviu-Dieter Xaver Y"))
      << "three capitals at most are initials";
  EXPECT_FALSE(Fits("Li,WM", "Li, Wei")) << "initials need a word each";
  EXPECT_FALSE(Fits("Popov,Iv RUS", "Popov, Rus")) << "the code is no part of the name";
}
