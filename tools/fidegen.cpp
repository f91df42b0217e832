#include "tools/fidegen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "database/stdfile.h"

namespace {

// splitmix64: the same stream on every platform and compiler.
struct Random {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 <= result < n
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 32) * n >> 32); }
  bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1.0p-53 < p; }
  // Index into a list of n, the first entries far more often (Zipf-like).
  uint32_t Skewed(uint32_t n) {
    double u = static_cast<double>(Next() >> 11) * 0x1.0p-53;
    return std::min(n - 1, static_cast<uint32_t>(std::pow(u, 2.5) * n));
  }
};

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

constexpr std::string_view kHeader =
    "ID Number      Name                                                         Fed Sex Tit  "
    "WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag";

constexpr size_t kLineLength = 162;

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
  if (shape < 830) return surname + ", " + first.substr(0, 1) + ". " + std::string(1, static_cast<char>('A' + rng.Below(26))) + ".";
  if (shape < 900) return first + " " + surname;
  if (shape < 940) return first + " " + surname + " " + std::string(1, static_cast<char>('A' + rng.Below(26)));
  if (shape < 960) return surname + "-" + std::string(kSurnames[rng.Below(std::size(kSurnames))]) + ", " + first;
  if (shape < 970) return std::string(1, static_cast<char>('A' + rng.Below(26))) + " " +
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

void WritePlayerLine(Random& rng, int64_t i, char* line) {
  std::memset(line, ' ', kLineLength);
  // Unique IDs: multiplying by an odd number is a bijection modulo 2^28.
  uint32_t id = 100000 + static_cast<uint32_t>((static_cast<uint64_t>(i) * 0x9E3779B1u) & 0xFFFFFFF);
  if (!rng.Chance(0.0005)) PutNumber(line, 1, id);

  const bool female = rng.Chance(0.15);
  Put(line, 16, PlayerName(rng, female), 61);
  Put(line, 77, rng.Chance(0.002) ? std::string_view("   ") : kFederations[rng.Skewed(std::size(kFederations))], 3);
  if (!rng.Chance(0.001)) Put(line, 81, female ? "F" : "M", 1);

  uint32_t t = rng.Below(10000);
  std::string_view title, womansTitle;
  if (t < 10) title = "GM";
  else if (t < 30) title = "IM";
  else if (t < 80) title = "FM";
  else if (t < 120) title = "CM";
  if (female) {
    if (t < 150 && t >= 120) title = womansTitle = "WFM";
    else if (t >= 150 && t < 165) title = womansTitle = "WIM";
    else if (t >= 165 && t < 172) title = womansTitle = "WGM";
    else if (t >= 172 && t < 200) title = womansTitle = "WCM";
    else if (t < 80 && rng.Chance(0.5)) womansTitle = "WGM";
  }
  Put(line, 85, title, 5);
  Put(line, 90, womansTitle, 5);
  if (rng.Chance(0.01)) Put(line, 95, rng.Chance(0.5) ? "IA,FA" : "FI,NI", 15);
  if (rng.Chance(0.05)) Put(line, 110, "AIM", 4);

  if (rng.Chance(0.35)) {
    PutNumber(line, 114, Rating(rng));
    PutNumber(line, 120, rng.Below(30));
    PutNumber(line, 124, rng.Chance(0.7) ? 20 : 40);
  }
  if (rng.Chance(0.25)) {
    PutNumber(line, 127, Rating(rng));
    PutNumber(line, 133, rng.Below(20));
    PutNumber(line, 137, 20);
  }
  if (rng.Chance(0.2)) {
    PutNumber(line, 140, Rating(rng));
    PutNumber(line, 146, rng.Below(20));
    PutNumber(line, 150, 20);
  }
  if (rng.Chance(0.95))
    PutNumber(line, 153, 2018 - std::min<uint32_t>(rng.Skewed(90) + rng.Below(8), 88));
  else
    Put(line, 153, "0000", 4);
  uint32_t flag = rng.Below(10);
  if (flag < 3) Put(line, 159, female ? "wi" : "i", 4);
  else if (female) Put(line, 159, "w", 4);
}

}  // namespace

bool WriteFideList(std::FILE* out, uint64_t seed, int64_t players) {
  Random rng{seed};
  constexpr size_t kLinesPerWrite = 4096;
  std::vector<char> block;
  block.reserve(kLinesPerWrite * (kLineLength + 2));
  block.insert(block.end(), kHeader.begin(), kHeader.end());
  block.resize(kLineLength, ' ');
  block.insert(block.end(), {'\r', '\n'});
  char line[kLineLength + 2];
  for (int64_t i = 0; i < players; ++i) {
    WritePlayerLine(rng, i, line);
    line[kLineLength] = '\r';
    line[kLineLength + 1] = '\n';
    block.insert(block.end(), line, line + sizeof line);
    if (block.size() >= kLinesPerWrite * sizeof line) {
      if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) return false;
      block.clear();
    }
  }
  if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) return false;
  return std::fflush(out) == 0;
}

bool WriteFideListFile(const std::string& path, uint64_t seed, int64_t players) {
  OwnedFile out = OpenFile(path, "wb");
  if (!out) return false;
  bool written = WriteFideList(out.get(), seed, players);
  return CloseFile(out) && written;
}
