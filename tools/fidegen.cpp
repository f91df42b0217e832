#include "tools/fidegen.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "files/stdfile.h"
#include "tools/splitmix.h"

namespace {

using Random = SplitMix64;

// Name tables packed by hand, many to a line.
// clang-format off
constexpr std::string_view kSurnames[] = {
    "Kumar", "Singh", "Sharma", "Patel", "Nguyen", "Wang", "Li", "Zhang", "Chen", "Liu",
    "Ivanov", "Petrov", "Smirnov", "Kuznetsov", "Popov", "Sokolov", "Novak", "Horvat", "Kovac",
    "Nagy", "Toth", "Szabo", "Kowalski", "Nowak", "Wisniewski", "Garcia", "Rodriguez",
    "Martinez", "Lopez", "Hernandez", "Gonzalez", "Perez", "Sanchez", "Silva", "Santos",
    "Oliveira", "Pereira", "Costa", "Ferreira", "Mueller", "Schmidt", "Schneider", "Fischer",
    "Weber", "Meyer", "Wagner", "Becker", "Hoffmann", "Schulz", "Rossi", "Russo", "Ferrari",
    "Esposito", "Bianchi", "Romano", "Martin", "Bernard", "Dubois", "Moreau", "Laurent",
    "Lefebvre", "Smith", "Johnson", "Williams", "Brown", "Jones", "Miller", "Davis", "Wilson",
    "Taylor", "Anderson", "Thomas", "Jackson", "White", "Harris", "Hansen", "Johansen",
    "Larsen", "Andersen", "Nielsen", "Jensen", "Pedersen", "Olsen", "Berg", "Lindqvist",
    "Johansson", "Karlsson", "Virtanen", "Korhonen", "Yilmaz", "Kaya", "Demir", "Sahin",
    "Celik", "Popescu", "Ionescu", "Dumitru", "Georgiev", "Dimitrov", "Jovanovic", "Petrovic",
    "Nikolic", "Markovic", "Papadopoulos", "Kim", "Lee", "Park", "Choi", "Tanaka", "Suzuki",
    "Takahashi", "Hosseini", "Ahmadi", "Mohammadi", "Rahman", "Hossain", "Islam", "Khan",
    "Ali", "Hassan", "Ibrahim", "Mahmoud", "Cohen", "Levi", "Mizrahi", "Navarro", "Torres",
    "Ramirez", "Flores", "Rivera", "Gomez", "Diaz", "Reyes", "Morales", "Cruz", "Ortiz",
    "Gutierrez", "Chavez", "Ramos", "Ruiz", "Alvarez", "Castillo", "Jimenez", "Moreno",
    "Romero", "Herrera", "Medina", "Aguilar", "Vargas", "Castro", "Mendoza", "Guerrero",
    "Shevchenko", "Bondarenko", "Kovalenko", "Tkachenko", "Kravchenko", "Melnyk", "Babic",
    "Juric", "Kralj", "Vukovic", "Krasniqi", "Gashi", "Berisha", "Hoxha", "Aliyev", "Mammadov",
    "Huseynov", "Hasanov", "Abdullayev", "Karimov", "Rakhimov", "Nurmagambetov", "Beridze",
    "Kapanadze", "Gelashvili", "Sargsyan", "Grigoryan", "Hakobyan", "Harutyunyan", "Vasquez",
    "Murphy", "Kelly", "Walsh", "Byrne", "Ryan", "O'Brien", "O'Connor", "O'Sullivan", "D'Souza",
    "D'Costa", "Van der Berg", "Van den Bosch", "Van Dijk", "De Jong", "De Vries", "Van Leeuwen",
    "Von Bergen", "De la Cruz", "Da Silva", "Dos Santos", "Al-Hassan", "El-Sayed", "Ben Ali",
    "McDonald", "MacLeod", "Mueller-Schmidt", "Garcia-Lopez", "Sanchez-Vidal", "Nepomniachtchi",
    "Vachier-Lagrave", "Mamedyarov", "Radjabov", "Gelfand", "Aronian", "Giri", "Rapport",
    "Ding", "Wei", "Yu", "Ju", "Tan", "Lei", "Hou", "Muzychuk", "Kosteniuk", "Goryachkina",
    "Lagno", "Koneru", "Harika", "Vaishali", "Praggnanandhaa", "Gukesh", "Erigaisi", "Abdusattorov",
    "Sindarov", "Firouzja", "Tabatabaei", "Maghsoodloo", "Duda", "Wojtaszek", "Navara",
    "Rasmussen", "Svane", "Keymer", "Donchenko", "Bluebaum"};

constexpr std::string_view kMaleNames[] = {
    "John", "Peter", "Michael", "David", "James", "Robert", "Alexander", "Andrei", "Sergei",
    "Dmitry", "Ivan", "Vladimir", "Nikolai", "Mikhail", "Pavel", "Jan", "Piotr", "Tomasz",
    "Marek", "Lukas", "Thomas", "Stefan", "Andreas", "Markus", "Daniel", "Jose", "Juan",
    "Carlos", "Luis", "Miguel", "Pedro", "Antonio", "Francisco", "Joao", "Paulo", "Marco",
    "Luca", "Giuseppe", "Alessandro", "Pierre", "Jean", "Louis", "Nicolas", "Rahul", "Arjun",
    "Vikram", "Suresh", "Ramesh", "Rajesh", "Anil", "Mohammad", "Ahmed", "Ali", "Omar",
    "Hassan", "Mehmet", "Mustafa", "Emre", "Wei", "Jun", "Hao", "Ming", "Yang", "Minh", "Duc",
    "Hiroshi", "Takashi", "Magnus", "Lars", "Erik", "Ole", "Mikkel", "Jonas", "Matti", "Jean-Pierre",
    "Hans-Peter", "Karl-Heinz", "Ian", "Liam", "Sean", "Patrick", "Levon", "Teimour", "Shakhriyar",
    "Anish", "Richard", "Hikaru", "Fabiano", "Wesley", "Maxime", "Nodirbek", "Dommaraju", "Arjun"};

constexpr std::string_view kFemaleNames[] = {
    "Anna", "Maria", "Elena", "Olga", "Natalia", "Irina", "Tatiana", "Ekaterina", "Alexandra",
    "Julia", "Eva", "Katarzyna", "Agnieszka", "Monika", "Petra", "Jana", "Sofia", "Laura",
    "Carmen", "Ana", "Lucia", "Isabel", "Giulia", "Chiara", "Marie", "Sophie", "Camille",
    "Priya", "Anjali", "Deepa", "Lakshmi", "Fatima", "Aisha", "Zeynep", "Elif", "Mei", "Ling",
    "Xue", "Yifan", "Wenjun", "Hanna", "Ingrid", "Sara", "Emma", "Nino", "Nana", "Mariya",
    "Humpy", "Harika", "Aleksandra", "Kateryna", "Anna-Lena", "Marie-Claire", "Jane", "Mary"};

constexpr std::string_view kFederations[] = {
    "IND", "GER", "RUS", "FRA", "ESP", "USA", "POL", "ITA", "TUR", "IRI", "BRA", "ARG", "CZE",
    "HUN", "SRB", "CRO", "NED", "ENG", "UKR", "KAZ", "UZB", "CHN", "VIE", "BAN", "COL", "PER",
    "MEX", "CHI", "GRE", "ROU", "BUL", "SVK", "SLO", "AUT", "SUI", "BEL", "DEN", "NOR", "SWE",
    "FIN", "ISR", "EGY", "RSA", "AUS", "CAN", "PHI", "INA", "MAS", "SGP", "MGL", "AZE", "ARM",
    "GEO", "BLR", "LTU", "LAT", "EST", "POR", "IRL", "SCO", "WLS", "ISL", "LUX", "FAI", "AHO",
    "FID", "IVB", "KOS", "MNE", "MKD", "BIH", "ALB", "CYP", "MLT", "JOR", "UAE", "QAT", "KSA",
    // Codes that the federation table does not know.
    "ESW", "CPV", "LCA", "SKN", "GEQ"};
// clang-format on

constexpr std::string_view kHeader =
    "ID Number      Name                                                         Fed Sex Tit  "
    "WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag";

constexpr std::pair<std::string_view, ListStyle> kStyleNames[] = {
    {"combined", ListStyle::kCombined},
    {"combined-nofoa", ListStyle::kCombinedWithoutFoa},
    {"single-2012", ListStyle::kSingle2012},
    {"single", ListStyle::kSingle},
    {"before-2013", ListStyle::kBefore2013},
    {"jan01", ListStyle::kJan01},
    {"apr01", ListStyle::kApr01},
    {"oct02", ListStyle::kOct02}};

template <size_t N>
std::string_view Pick(Random& rng, const std::string_view (&list)[N]) {
  return list[rng.Below(N)];
}

// A name as the list writes it: "Surname, Given names" mostly, with
// initials, particles, hyphens, apostrophes, names without a comma and now
// and then a name the import does not take.
std::string PlayerName(Random& rng, bool female) {
  std::string surname(kSurnames[rng.Skewed(std::size(kSurnames))]);
  std::string first(female ? Pick(rng, kFemaleNames) : Pick(rng, kMaleNames));
  uint32_t shape = rng.Below(1000);
  if (shape < 600) return surname + ", " + first;
  if (shape < 700) return surname + ", " + first + " " + std::string(Pick(rng, kMaleNames));
  if (shape < 780) return surname + ", " + first.substr(0, 1) + ".";
  if (shape < 830)
    return surname + ", " + first.substr(0, 1) + ". " +
           std::string(1, static_cast<char>('A' + rng.Below(26))) + ".";
  if (shape < 900) return first + " " + surname;
  if (shape < 940)
    return first + " " + surname + " " + std::string(1, static_cast<char>('A' + rng.Below(26)));
  if (shape < 960)
    return surname + "-" + std::string(kSurnames[rng.Below(std::size(kSurnames))]) + ", " + first;
  if (shape < 970)
    return std::string(1, static_cast<char>('A' + rng.Below(26))) + " " +
           std::string(1, static_cast<char>('A' + rng.Below(26))) + " " + surname + ", " + first;
  if (shape < 978) return surname + ", " + first + " van der";
  if (shape < 984) return surname;
  if (shape < 988) return ", " + first + " " + std::string(1, static_cast<char>('A' + rng.Below(26)));
  if (shape < 992) return "de " + surname + ", " + first;
  if (shape < 995) return surname + "\xC3\xA9, " + first;  // a UTF-8 letter
  if (shape < 997) return "\xC3\x96zt\xC3\xBCrk, " + first;
  if (shape < 998) return "";
  return std::string(surname) + ", " + first + " " + first + " " + std::string(Pick(rng, kMaleNames)) + " " +
         std::string(Pick(rng, kMaleNames)) + " " + std::string(Pick(rng, kMaleNames));
}

void Put(char* line, int column, std::string_view text, size_t width) {
  std::memcpy(line + column - 1, text.data(), std::min(text.size(), width));
}

void PutNumber(char* line, int column, uint32_t value) {
  char digits[12];
  int n = std::snprintf(digits, sizeof digits, "%u", value);
  std::memcpy(line + column - 1, digits, static_cast<size_t>(n));
}

uint32_t Rating(Random& rng) {
  // Roughly normal around 1600, from 1000 to 2850.
  double sum = 0;
  for (int i = 0; i < 4; ++i) sum += static_cast<double>(rng.Below(10000)) / 10000.0;
  double r = 1600 + (sum - 2.0) * 600;
  return static_cast<uint32_t>(std::clamp(r, 1000.0, 2850.0));
}

// One generated player: every field of every layout, as the combined
// layout writes it.
struct Player {
  uint32_t id = 0;  // 0: the line has no ID
  std::string name;
  std::string_view federation, sex, title, womansTitle, otherTitles, foa, flag;
  std::array<uint32_t, 3> rating{}, games{}, k{};  // rating 0: unrated
  uint32_t birth = 0;                              // 0: "0000"
};

// The random draws in the order the combined layout has always used, so a
// seed gives the same list as before.
Player MakePlayer(Random& rng, int64_t i) {
  Player p;
  // Unique IDs: multiplying by an odd number is a bijection modulo 2^28.
  uint32_t id = 100000 + static_cast<uint32_t>((static_cast<uint64_t>(i) * 0x9E3779B1u) & 0xFFFFFFF);
  if (!rng.Chance(0.0005)) p.id = id;

  const bool female = rng.Chance(0.15);
  p.name = PlayerName(rng, female);
  p.federation =
      rng.Chance(0.002) ? std::string_view("   ") : kFederations[rng.Skewed(std::size(kFederations))];
  if (!rng.Chance(0.001)) p.sex = female ? "F" : "M";

  uint32_t t = rng.Below(10000);
  if (t < 10)
    p.title = "GM";
  else if (t < 30)
    p.title = "IM";
  else if (t < 80)
    p.title = "FM";
  else if (t < 120)
    p.title = "CM";
  if (female) {
    if (t < 150 && t >= 120)
      p.title = p.womansTitle = "WFM";
    else if (t >= 150 && t < 165)
      p.title = p.womansTitle = "WIM";
    else if (t >= 165 && t < 172)
      p.title = p.womansTitle = "WGM";
    else if (t >= 172 && t < 200)
      p.title = p.womansTitle = "WCM";
    else if (t < 80 && rng.Chance(0.5))
      p.womansTitle = "WGM";
  }
  if (rng.Chance(0.01)) p.otherTitles = rng.Chance(0.5) ? "IA,FA" : "FI,NI";
  if (rng.Chance(0.05)) p.foa = "AIM";

  if (rng.Chance(0.35)) {
    p.rating[0] = Rating(rng);
    p.games[0] = rng.Below(30);
    p.k[0] = rng.Chance(0.7) ? 20 : 40;
  }
  if (rng.Chance(0.25)) {
    p.rating[1] = Rating(rng);
    p.games[1] = rng.Below(20);
    p.k[1] = 20;
  }
  if (rng.Chance(0.2)) {
    p.rating[2] = Rating(rng);
    p.games[2] = rng.Below(20);
    p.k[2] = 20;
  }
  if (rng.Chance(0.95)) p.birth = 2018 - std::min<uint32_t>(rng.Skewed(90) + rng.Below(8), 88);
  uint32_t flag = rng.Below(10);
  if (flag < 3)
    p.flag = female ? "wi" : "i";
  else if (female)
    p.flag = "w";
  return p;
}

void PutRating(char* line, int column, const Player& p, int kind, int gamesColumn, int kColumn) {
  if (p.rating[kind] == 0) return;
  PutNumber(line, column, p.rating[kind]);
  PutNumber(line, gamesColumn, p.games[kind]);
  PutNumber(line, kColumn, p.k[kind]);
}

void PutBirth(char* line, int column, const Player& p) {
  if (p.birth > 0)
    PutNumber(line, column, p.birth);
  else
    Put(line, column, "0000", 4);
}

// Right-aligned to column last; a longer number starts at column 1.
void PutRight(char* line, int last, uint32_t value) {
  char digits[12];
  int n = std::snprintf(digits, sizeof digits, "%u", value);
  std::memcpy(line + std::max(last - n, 0), digits, static_cast<size_t>(n));
}

// The title as the format before 2013 wrote it: lower case, women's titles
// in two letters.
std::string_view OldTitle(std::string_view title) {
  constexpr std::pair<std::string_view, std::string_view> kTitles[] = {
      {"GM", "g"},   {"IM", "m"},   {"FM", "f"},   {"CM", "c"},
      {"WGM", "wg"}, {"WIM", "wm"}, {"WFM", "wf"}, {"WCM", "wc"}};
  for (auto [full, old] : kTitles)
    if (title == full) return old;
  return {};
}

bool Before2005(ListStyle style) {
  return style == ListStyle::kJan01 || style == ListStyle::kApr01 || style == ListStyle::kOct02;
}

// A line of 2001 to 2004: fixed columns (1-based) of its column set.
size_t FormatLineBefore2005(const Player& p, ListStyle style, char* line) {
  struct Columns {
    int idEnd, name, nameWidth, title, federation, ratingEnd, gamesEnd, birth, flag;
    bool fullYear;
  };
  const Columns c = style == ListStyle::kJan01   ? Columns{10, 13, 32, 46, 52, 63, 68, 72, 81, false}
                    : style == ListStyle::kApr01 ? Columns{11, 13, 32, 46, 52, 64, 70, 72, 83, true}
                                                 : Columns{8, 11, 33, 45, 49, 57, 62, 65, 77, false};
  size_t length = LineLength(style);
  std::memset(line, ' ', length);
  if (p.id != 0) PutRight(line, c.idEnd, p.id);
  Put(line, c.name, p.name, static_cast<size_t>(c.nameWidth));
  Put(line, c.title, OldTitle(p.title), 2);
  Put(line, c.federation, p.federation, 3);
  PutRight(line, c.ratingEnd, p.rating[0]);
  PutRight(line, c.gamesEnd, p.games[0]);
  // The day and month of birth from the ID: the generator draws only years.
  char date[16];
  if (p.birth > 0)
    std::snprintf(date, sizeof date, "%02u.%02u.%0*u", 1 + p.id % 28, 1 + p.id / 28 % 12, c.fullYear ? 4 : 2,
                  c.fullYear ? p.birth : p.birth % 100);
  else
    std::snprintf(date, sizeof date, "  .  .");
  Put(line, c.birth, date, std::strlen(date));
  Put(line, c.flag, p.flag, 2);
  return length;
}

// The line of a player in a layout, without its line end.
size_t FormatLine(const Player& p, ListStyle style, int kind, char* line) {
  if (Before2005(style)) return FormatLineBefore2005(p, style, line);
  size_t length = LineLength(style);
  std::memset(line, ' ', length);
  if (style == ListStyle::kBefore2013) {
    if (p.id != 0) PutRight(line, 8, p.id);
    Put(line, 11, p.name, 32);
    Put(line, 45, OldTitle(p.title), 4);
    Put(line, 49, p.federation, 3);
    if (p.rating[0] > 0) {
      PutNumber(line, 54, p.rating[0]);
      PutRight(line, 62, p.games[0]);
    }
    if (p.birth > 0) PutNumber(line, 65, p.birth);
    Put(line, 71, p.flag, 2);
    return length;
  }
  if (p.id != 0) PutNumber(line, 1, p.id);
  Put(line, 16, p.name, 61);
  Put(line, 77, p.federation, 3);
  Put(line, 81, p.sex, 1);
  Put(line, 85, p.title, 5);
  Put(line, 90, p.womansTitle, 5);
  Put(line, 95, p.otherTitles, 15);
  switch (style) {
    case ListStyle::kCombined:
      Put(line, 110, p.foa, 4);
      PutRating(line, 114, p, 0, 120, 124);
      PutRating(line, 127, p, 1, 133, 137);
      PutRating(line, 140, p, 2, 146, 150);
      PutBirth(line, 153, p);
      Put(line, 159, p.flag, 4);
      break;
    case ListStyle::kCombinedWithoutFoa:
      PutRating(line, 110, p, 0, 116, 120);
      PutRating(line, 123, p, 1, 129, 133);
      PutRating(line, 136, p, 2, 142, 146);
      PutBirth(line, 149, p);
      Put(line, 155, p.flag, 4);
      break;
    case ListStyle::kSingle2012:
      PutRating(line, 110, p, kind, 116, 120);
      PutBirth(line, 123, p);
      Put(line, 129, p.flag, 4);
      break;
    case ListStyle::kSingle:
      Put(line, 110, p.foa, 4);
      PutRating(line, 114, p, kind, 120, 124);
      PutBirth(line, 127, p);
      Put(line, 133, p.flag, 4);
      break;
    default: break;
  }
  return length;
}

constexpr std::string_view kMonthTokens[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                               "jul", "aug", "sep", "oct", "nov", "dec"};

// The month as the header of a layout names it: "sep12", "MAR26", "Mar11".
std::string MonthToken(ListStyle style, int year, int month) {
  std::string token(kMonthTokens[month - 1]);
  char yy[4];
  std::snprintf(yy, sizeof yy, "%02d", year % 100);
  token += yy;
  if (style == ListStyle::kSingle || Before2005(style)) {
    for (char& c : token) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  } else if (style == ListStyle::kBefore2013) {
    token[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(token[0])));
  }
  return token;
}

std::string Header(ListStyle style, int year, int month) {
  constexpr std::string_view kFront =
      "ID Number      Name                                                         Fed Sex Tit  "
      "WTit OTit           ";
  std::string header;
  switch (style) {
    case ListStyle::kCombined: header = kHeader; break;
    case ListStyle::kCombinedWithoutFoa:
      header = std::string(kFront) + "SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag";
      break;
    case ListStyle::kSingle2012:
      header = std::string(kFront) + MonthToken(style, year, month) + " Gms K  B-day Flag";
      break;
    case ListStyle::kSingle:
      header = std::string(kFront) + "FOA " + MonthToken(style, year, month) + " Gms K  B-day Flag";
      break;
    case ListStyle::kBefore2013:
      header = "ID number Name                              TitlFed  " + MonthToken(style, year, month) +
               " GamesBorn  Flag";
      break;
    case ListStyle::kJan01:
    case ListStyle::kApr01:
      // Indented, and its words do not stand over their data.
      header = "  ID_NUMBER NAME                             TITLE COUNTRY " +
               MonthToken(style, year, month) + " GAMES BIRTHDAY FLAG";
      break;
    case ListStyle::kOct02:
      header = "ID_NUMBER NAME                          TITLE COUNTRY " + MonthToken(style, year, month) +
               " GAMES BIRTHDAY FLAG";
      break;
  }
  header.resize(std::max(header.size(), LineLength(style)), ' ');
  return header;
}

// Writes lines to a file in blocks.
struct BlockWriter {
  std::FILE* out;
  std::string_view end;
  std::vector<char> block;
  bool ok = true;
  void Line(std::string_view text) {
    block.insert(block.end(), text.begin(), text.end());
    block.insert(block.end(), end.begin(), end.end());
    if (block.size() >= (1 << 20)) Flush();
  }
  void Flush() {
    if (!block.empty() && std::fwrite(block.data(), 1, block.size(), out) != block.size()) ok = false;
    block.clear();
  }
};

// The ratings of every player in each month: the generated ones at first,
// then each month a share of the rated players' ratings move by a few
// points, and now and then an unrated player gets a rating.
void NextMonth(std::vector<std::array<uint32_t, 3>>& ratings, uint64_t seed, int month, double changeShare) {
  Random rng{seed * 0x2545F4914F6CDD1Dull + static_cast<uint64_t>(month)};
  for (auto& r : ratings) {
    for (uint32_t& value : r) {
      if (value == 0) {
        if (rng.Chance(0.002)) value = Rating(rng);
        continue;
      }
      if (!rng.Chance(changeShare)) continue;
      uint32_t step = 1 + rng.Below(30);
      value = rng.Chance(0.5) ? std::min(value + step, 2850u) : std::max(value - step, 1000u);
      if (value == 2850 || value == 1000) value = value == 2850 ? 2849 : 1001;
    }
  }
}

bool WriteList(std::FILE* out, uint64_t seed, int64_t players, const ListOptions& options,
               const std::vector<std::array<uint32_t, 3>>* ratings) {
  Random rng{seed};
  const ListStyle style = options.style;
  BlockWriter writer{out,
                     style == ListStyle::kCombined || style == ListStyle::kCombinedWithoutFoa ||
                             style == ListStyle::kBefore2013
                         ? std::string_view("\r\n")
                         : std::string_view("\n"),
                     {}};
  writer.block.reserve((1 << 20) + 256);
  writer.Line(Header(style, options.year, options.month));
  char line[256];
  for (int64_t i = 0; i < players; ++i) {
    Player p = MakePlayer(rng, i);
    if (ratings) {
      const auto& r = (*ratings)[static_cast<size_t>(i)];
      for (int k = 0; k < 3; ++k) {
        if (p.rating[k] == 0 && r[k] != 0) {
          p.games[k] = 0;
          p.k[k] = 40;
        }
        p.rating[k] = r[k];
      }
    }
    // A single list holds only its kind's rated players.
    bool single = style == ListStyle::kSingle2012 || style == ListStyle::kSingle || Before2005(style);
    if (single && p.rating[Before2005(style) ? 0 : options.kind] == 0) continue;
    writer.Line(std::string_view(line, FormatLine(p, style, options.kind, line)));
  }
  writer.Flush();
  return writer.ok && std::fflush(out) == 0;
}

}  // namespace

size_t LineLength(ListStyle style) {
  switch (style) {
    case ListStyle::kCombined: return 162;
    case ListStyle::kCombinedWithoutFoa: return 158;
    case ListStyle::kSingle2012: return 132;
    case ListStyle::kSingle: return 136;
    case ListStyle::kBefore2013: return 72;
    case ListStyle::kJan01: return 85;
    case ListStyle::kApr01: return 86;
    case ListStyle::kOct02: return 79;
  }
  return 162;
}

std::optional<ListStyle> ListStyleByName(std::string_view name) {
  for (auto [text, style] : kStyleNames)
    if (name == text) return style;
  return std::nullopt;
}

std::string SeriesFileName(const ListOptions& options) {
  char name[64];
  constexpr const char* kKinds[3] = {"standard", "rapid", "blitz"};
  switch (options.style) {
    case ListStyle::kCombined:
    case ListStyle::kCombinedWithoutFoa:
      std::snprintf(name, sizeof name, "players_list_%04d-%02d.txt", options.year, options.month);
      break;
    case ListStyle::kSingle2012:
    case ListStyle::kSingle:
      std::snprintf(name, sizeof name, "%s_%s%02dfrl.txt", kKinds[options.kind],
                    std::string(kMonthTokens[options.month - 1]).c_str(), options.year % 100);
      break;
    case ListStyle::kBefore2013:
      std::snprintf(name, sizeof name, "list_%s%02d.txt",
                    std::string(kMonthTokens[options.month - 1]).c_str(), options.year % 100);
      break;
    case ListStyle::kJan01:
    case ListStyle::kApr01:
    case ListStyle::kOct02:
      std::snprintf(name, sizeof name, "%s%02dfrl.txt", std::string(kMonthTokens[options.month - 1]).c_str(),
                    options.year % 100);
      break;
  }
  return name;
}

bool WriteSeries(const std::string& folder, uint64_t seed, int64_t players, const SeriesOptions& series,
                 const SeriesListFn& onList) {
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  // The generated ratings first, then month after month.
  std::vector<std::array<uint32_t, 3>> ratings(static_cast<size_t>(players));
  std::vector<uint32_t> ids(static_cast<size_t>(players));
  Random rng{seed};
  for (int64_t i = 0; i < players; ++i) {
    Player p = MakePlayer(rng, i);
    ratings[static_cast<size_t>(i)] = p.rating;
    ids[static_cast<size_t>(i)] = p.id;
  }
  ListOptions options = series.list;
  for (int m = 0; m < series.months; ++m) {
    if (m > 0) NextMonth(ratings, seed, m, series.changeShare);
    if (series.only < 0 || m == series.only) {
      std::string path = (std::filesystem::path(folder) / SeriesFileName(options)).string();
      OwnedFile out = OpenFile(path, "wb");
      if (!out) return false;
      bool written = WriteList(out.get(), seed, players, options, &ratings);
      if (!CloseFile(out) || !written) return false;
      if (onList) {
        std::vector<SeriesPlayer> list;
        list.reserve(ratings.size());
        bool single = options.style == ListStyle::kSingle2012 || options.style == ListStyle::kSingle ||
                      Before2005(options.style);
        for (size_t i = 0; i < ratings.size(); ++i) {
          if (ids[i] == 0 || (single && ratings[i][Before2005(options.style) ? 0 : options.kind] == 0))
            continue;
          SeriesPlayer sp{ids[i], {}};
          for (int k = 0; k < 3; ++k) sp.rating[k] = static_cast<uint16_t>(ratings[i][k]);
          list.push_back(sp);
        }
        onList(path, options, list);
      }
    }
    if (series.only >= 0 && m >= series.only) break;
    if (++options.month > 12) {
      options.month = 1;
      ++options.year;
    }
  }
  return true;
}

bool WriteFideList(std::FILE* out, uint64_t seed, int64_t players, const ListOptions& options) {
  return WriteList(out, seed, players, options, nullptr);
}

bool WriteFideListFile(const std::string& path, uint64_t seed, int64_t players, const ListOptions& options) {
  OwnedFile out = OpenFile(path, "wb");
  if (!out) return false;
  bool written = WriteFideList(out.get(), seed, players, options);
  return CloseFile(out) && written;
}
