// The federation table, whose row numbers players.dat stores, and the texts
// of titles and sexes.
#include "players/playercodes.h"

// The order is part of players.dat, including the second IVB row (198) and
// the rows that share a name.
const std::array<Federation, kFederationCount> FederationTable{{
    {"AFG", "Afghanistan"},
    {"ALB", "Albania"},
    {"ALG", "Algeria"},
    {"AND", "Andorra"},
    {"ANG", "Angola"},
    {"ANT", "Antigua & Barbuda"},
    {"ARG", "Argentina"},
    {"ARM", "Armenia"},
    {"ARU", "Aruba"},
    {"ASE", "ASEAN"},
    {"AUS", "Australia"},
    {"AUT", "Austria"},
    {"AZE", "Azerbaijan"},
    {"BAH", "Bahamas"},
    {"BRN", "Bahrain"},
    {"BAN", "Bangladesh"},
    {"BAR", "Barbados"},
    {"BLR", "Belarus"},
    {"BEL", "Belgium"},
    {"BIZ", "Belize"},
    {"BLZ", "Belize"},
    {"BER", "Bermuda"},
    {"BHU", "Bhutan"},
    {"BOL", "Bolivia"},
    {"BIH", "Bosnia & Herzegovina"},
    {"BOT", "Botswana"},
    {"BRA", "Brazil"},
    {"IVB", "British Virgin Islands"},
    {"BRU", "Brunei Darussalam"},
    {"BUL", "Bulgaria"},
    {"BUR", "Burkina Faso"},
    {"BDI", "Burundi"},
    {"CAM", "Cambodia"},
    {"CMR", "Cameroon"},
    {"CAN", "Canada"},
    {"CAF", "Central African Republic"},
    {"CHI", "Chile"},
    {"CHN", "China"},
    {"TPE", "Chinese Taipei"},
    {"COL", "Colombia"},
    {"COM", "Comoros Islands"},
    {"CGO", "Congo"},
    {"CRC", "Costa Rica"},
    {"CRO", "Croatia"},
    {"CUB", "Cuba"},
    {"CYP", "Cyprus"},
    {"CZE", "Czech Republic"},
    {"CSR", "Czechoslovakia"},
    {"DEN", "Denmark"},
    {"DJI", "Djibouti"},
    {"DOM", "Dominican Republic"},
    {"GDR", "East Germany"},
    {"ECU", "Ecuador"},
    {"EGY", "Egypt"},
    {"ESA", "El Salvador"},
    {"ENG", "England"},
    {"ERI", "Eritrea"},
    {"EST", "Estonia"},
    {"ETH", "Ethiopia"},
    {"FAI", "Faroe Islands"},
    {"FIJ", "Fiji"},
    {"FIN", "Finland"},
    {"MKD", "Former YUG Rep of Macedonia"},
    {"FRA", "France"},
    {"GAB", "Gabon"},
    {"GAM", "Gambia"},
    {"GEO", "Georgia"},
    {"GER", "Germany"},
    {"GHA", "Ghana"},
    {"GBR", "Great Britain"},
    {"GRE", "Greece"},
    {"GUM", "Guam"},
    {"GUA", "Guatemala"},
    {"GCI", "Guernsey"},
    {"GBG", "Guernsey-Jersey"},
    {"GUY", "Guyana"},
    {"HAI", "Haiti"},
    {"HON", "Honduras"},
    {"HKG", "Hong Kong"},
    {"HUN", "Hungary"},
    {"ISL", "Iceland"},
    {"IND", "India"},
    {"INA", "Indonesia"},
    {"IRI", "Iran"},
    {"IRQ", "Iraq"},
    {"IRL", "Ireland"},
    {"ISR", "Israel"},
    {"ITA", "Italy"},
    {"CIV", "Ivory Coast"},
    {"JAM", "Jamaica"},
    {"JPN", "Japan"},
    {"JCI", "Jersey"},
    {"JOR", "Jordan"},
    {"KAZ", "Kazakhstan"},
    {"KEN", "Kenya"},
    {"KOS", "Kosovo"},
    {"KUW", "Kuwait"},
    {"KGZ", "Kyrgyzstan"},
    {"LAO", "Laos"},
    {"LAT", "Latvia"},
    {"LIB", "Lebanon"},
    {"LES", "Lesotho"},
    {"LBR", "Liberia"},
    {"LBA", "Libya"},
    {"LIE", "Liechtenstein"},
    {"LTU", "Lithuania"},
    {"LUX", "Luxembourg"},
    {"MAC", "Macau"},
    {"MAD", "Madagascar"},
    {"MAW", "Malawi"},
    {"MAS", "Malaysia"},
    {"MDV", "Maldives"},
    {"MLI", "Mali"},
    {"MLT", "Malta"},
    {"MAU", "Mauritania"},
    {"MTN", "Mauritania"},
    {"MRI", "Mauritius"},
    {"MEX", "Mexico"},
    {"MDA", "Moldova"},
    {"MNE", "Montenegro"},
    {"MNC", "Monaco"},
    {"MGL", "Mongolia"},
    {"MAR", "Morocco"},
    {"MOZ", "Mozambique"},
    {"MYA", "Myanmar"},
    {"NAM", "Namibia"},
    {"NRU", "Nauru"},
    {"NEP", "Nepal"},
    {"NED", "Netherlands"},
    {"AHO", "Netherlands Antilles"},
    {"NZL", "New Zealand"},
    {"NCA", "Nicaragua"},
    {"NGR", "Nigeria"},
    {"NRD", "Nordic Team"},
    {"NOR", "Norway"},
    {"OMA", "Oman"},
    {"PAK", "Pakistan"},
    {"PLW", "Palau"},
    {"PLE", "Palestine"},
    {"PAN", "Panama"},
    {"PNG", "Papua New Guinea"},
    {"PAR", "Paraguay"},
    {"PER", "Peru"},
    {"PHI", "Philippines"},
    {"POL", "Poland"},
    {"POR", "Portugal"},
    {"PUR", "Puerto Rico"},
    {"QAT", "Qatar"},
    {"ROM", "Romania"},
    {"ROU", "Romania"},
    {"RWA", "Rwanda"},
    {"RUS", "Russia"},
    {"SAA", "Saarland"},
    {"SMR", "San Marino"},
    {"STP", "Sao Tome and Principe"},
    {"KSA", "Saudi Arabia"},
    {"SCO", "Scotland"},
    {"SEN", "Senegal"},
    {"SRB", "Serbia"},
    {"SEY", "Seychelles"},
    {"SLE", "Sierra Leone"},
    {"SIN", "Singapore"},
    {"SVK", "Slovakia"},
    {"SLO", "Slovenia"},
    {"SOL", "Solomon Islands"},
    {"SOM", "Somalia"},
    {"RSA", "South Africa"},
    {"KOR", "South Korea"},
    {"SSD", "South Sudan"},
    {"URS", "Soviet Union"},
    {"ESP", "Spain"},
    {"SRI", "Sri Lanka"},
    {"SUD", "Sudan"},
    {"SUR", "Suriname"},
    {"SWZ", "Swaziland"},
    {"SWE", "Sweden"},
    {"SUI", "Switzerland"},
    {"SYR", "Syria"},
    {"TJK", "Tajikistan"},
    {"TAN", "Tanzania"},
    {"THA", "Thailand"},
    {"TLS", "Timor-Leste"},
    {"TOG", "Togo"},
    {"TTO", "Trinidad & Tobago"},
    {"TUN", "Tunisia"},
    {"TUR", "Turkey"},
    {"TKM", "Turkmenistan"},
    {"ISV", "US Virgin Islands"},
    {"UGA", "Uganda"},
    {"UKR", "Ukraine"},
    {"UAE", "United Arab Emirates"},
    {"USA", "United States of America"},
    {"URU", "Uruguay"},
    {"UZB", "Uzbekistan"},
    {"VEN", "Venezuela"},
    {"VIE", "Vietnam"},
    {"VIR", "Virgin Islands"},
    {"IVB", "British Virgin Islands"},
    {"WLS", "Wales"},
    {"YEM", "Yemen"},
    {"YUG", "Yugoslavia"},
    {"ZAI", "Zair"},
    {"ZAM", "Zambia"},
    {"ZIM", "Zimbabwe"},
    {"IBC", "International Braille Chess Association"},
    {"ICS", "International Committee of Silent Chess"},
    {"IPC", "International Physically Disabled Chess Association"},
    {"FID", "FIDE licensed"},
}};

namespace {

constexpr int kCodeSlots = 26 * 26 * 26;

// Slot of a code of three capital letters, or -1.
int CodeSlot(std::string_view code) {
  if (code.size() != 3) return -1;
  int slot = 0;
  for (char c : code) {
    if (c < 'A' || c > 'Z') return -1;
    slot = slot * 26 + (c - 'A');
  }
  return slot;
}

// Row by code slot, built once: the import looks up one code per line.
struct RowsByCode {
  std::array<uint8_t, kCodeSlots> row{};
  RowsByCode() {
    for (int r = kFederationCount; r >= 1; --r)  // backwards: the first row wins
      row[CodeSlot(FederationTable[r - 1].code)] = static_cast<uint8_t>(r);
  }
};

}  // namespace

int FederationByCode(std::string_view code) {
  static const RowsByCode rows;
  int slot = CodeSlot(code);
  return slot < 0 ? 0 : rows.row[slot];
}

std::string_view FederationCode(int row) {
  if (row < 1 || row > kFederationCount) return {};
  return FederationTable[row - 1].code;
}

namespace {
constexpr std::string_view kTitles[] = {"GM", "IM", "FM", "WGM", "WIM", "WFM"};
}

std::string_view TitleText(Title title) {
  auto t = static_cast<size_t>(title);
  return t < std::size(kTitles) ? kTitles[t] : std::string_view();
}

Title TitleByText(std::string_view text) {
  for (size_t t = 0; t < std::size(kTitles); ++t)
    if (kTitles[t] == text) return static_cast<Title>(t);
  return Title::kNone;
}

std::string_view SexText(Sex sex) {
  return sex == Sex::kMale ? "M" : sex == Sex::kFemale ? "F" : std::string_view();
}
