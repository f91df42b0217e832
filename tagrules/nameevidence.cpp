// The evidence rule: every player holding the name's surname is met against
// the extended fit; the fitting ones are weighed by the games' federation,
// title and Elo. The search ends as soon as the evidence can no longer
// single out anybody; the players found so far are the candidates shown.
#include "tagrules/nameevidence.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "players/player.h"
#include "players/playersearch.h"

namespace {

constexpr int kNoDistance = INT_MAX;  // no Elo, or no rating, to compare

std::string Text(int n) { return std::to_string(n); }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

struct Near {
  int32_t index = -1;
  int distance = kNoDistance;
};

// What the search has seen of the fitting players.
struct Seen {
  Seen(std::span<const Player> players, const NameEvidence& evidence, const EloGates& gates,
       const RatingOf& rating)
      : e(evidence), g(gates), ratingOf(rating), list(players) {}
  const NameEvidence& e;
  const EloGates& g;
  const RatingOf& ratingOf;
  std::span<const Player> list;

  int fitting = 0, otherFederation = 0;
  int within = 0;  // rated nearer the game's Elo than `apart`
  int titled = 0;  // holders of the game's title (within `titled` of its Elo, when it has one)
  int32_t first = -1, titledPlayer = -1;
  Near best, next;            // the nearest rated players
  std::vector<Near> nearest;  // ascending distance, at most kShown

  int Rating(int32_t index) const {
    return ratingOf ? ratingOf(index) : list[static_cast<size_t>(index)].rating;
  }
  int Distance(int32_t index) const {
    const int r = Rating(index);
    return e.elo == 0 || r == 0 ? kNoDistance : std::abs(static_cast<int>(e.elo) - r);
  }

  void Add(int32_t index) {
    if (fitting++ == 0) first = index;
    const int d = Distance(index);
    if (e.title != Title::kNone && list[static_cast<size_t>(index)].title == e.title &&
        (e.elo == 0 || d <= g.titled) && ++titled == 1)
      titledPlayer = index;
    const Near n{index, d};
    if (d != kNoDistance) {
      if (d < g.apart) ++within;
      if (d < best.distance) {
        next = best;
        best = n;
      } else if (d < next.distance) {
        next = n;
      }
    }
    auto at = std::upper_bound(nearest.begin(), nearest.end(), d,
                               [](int dist, const Near& x) { return dist < x.distance; });
    if (static_cast<size_t>(at - nearest.begin()) < EvidenceChoice::kShown) nearest.insert(at, n);
    if (nearest.size() > EvidenceChoice::kShown) nearest.pop_back();
  }

  bool EloSpread() const { return e.elo != 0 && e.eloHigh - e.eloLow > g.spread; }
  // Several fit, and neither the title nor the Elo can pick one of them any
  // more, whoever else fits.
  bool Undecidable() const {
    if (fitting < 2) return false;
    if (e.federationsDiffer || EloSpread()) return true;
    const bool titleDead = e.title == Title::kNone || titled >= 2;
    const bool eloDead = e.elo == 0 || within >= 2;
    return titleDead && eloDead;
  }
};

std::string Versus(int elo, int rating) { return "Elo " + Text(elo) + " vs " + Text(rating); }

// "1 fits", "3 fit", "at least 3 fit" (where the search passed over some).
std::string Fitting(const EvidenceChoice& c) {
  return (c.complete ? "" : "at least ") + Text(c.fitting) + (c.fitting == 1 ? " fits" : " fit");
}

void Take(EvidenceChoice& c, int32_t player, const std::string& why) {
  c.outcome = EvidenceOutcome::kTaken;
  c.player = player;
  c.note = Fitting(c) + "; " + why;
}

void Ask(EvidenceChoice& c, const std::string& why) {
  c.outcome = EvidenceOutcome::kAsked;
  c.note = "asked: " + why;
}

void Decide(const Seen& s, EvidenceChoice& c) {
  const NameEvidence& e = s.e;
  const EloGates& g = s.g;
  if (s.fitting == 0) {
    if (s.otherFederation > 0)
      Ask(c, Text(s.otherFederation) + (s.otherFederation == 1 ? " fits" : " fit") + ", none of " +
                 std::string(FederationCode(e.federation)));
    else
      c.note = "no player fits";
    return;
  }
  if (e.federationsDiffer) return Ask(c, "its games give different federations");
  if (s.EloSpread()) return Ask(c, "its games give Elo " + Text(e.eloLow) + " to " + Text(e.eloHigh));
  if (s.fitting == 1) {
    const Player& player = s.list[static_cast<size_t>(s.first)];
    const int r = s.Rating(s.first);
    if (e.elo == 0) return Take(c, s.first, "no Elo to compare");
    if (r == 0) {
      if (g.takeUnrated) return Take(c, s.first, "no rating to compare");
      return Ask(c, "Elo " + Text(e.elo) + ", no rating then");
    }
    const bool agrees = (e.title != Title::kNone && player.title == e.title) ||
                        (e.federation != 0 && player.federation == e.federation);
    const int limit = e.form.namesake ? g.namesake : agrees ? g.agreeing : g.single;
    if (std::abs(e.elo - r) <= limit) return Take(c, s.first, Versus(e.elo, r));
    return Ask(c, Versus(e.elo, r));
  }
  if (s.titled == 1) {
    const int r = s.Rating(s.titledPlayer);
    const std::string title(TitleText(e.title));
    return Take(c, s.titledPlayer, "the only " + title + (e.elo == 0 ? "" : ", " + Versus(e.elo, r)));
  }
  if (s.best.distance <= g.near && (s.next.index < 0 || s.next.distance >= s.best.distance + g.apart))
    return Take(
        c, s.best.index,
        Versus(e.elo, s.Rating(s.best.index)) +
            (s.next.index < 0 ? ", the others unrated" : ", the next " + Text(s.Rating(s.next.index))));
  std::string why = Fitting(c);
  if (e.elo == 0 && e.title == Title::kNone) return Ask(c, why + ", nothing in the games to tell them apart");
  why += ", ratings";
  const size_t shown = std::min<size_t>(s.nearest.size(), 3);
  for (size_t i = 0; i < shown; ++i) {
    const int r = s.Rating(s.nearest[i].index);
    why += (i == 0 ? " " : i + 1 == shown ? " and " : ", ") + (r == 0 ? std::string("none") : Text(r));
  }
  if (s.nearest.size() > shown) why += ", ...";
  if (e.elo != 0) why += " for Elo " + Text(e.elo);
  Ask(c, why);
}

// The first index of the rating-ordered list whose rating is at most r.
int32_t FirstAtMost(std::span<const Player> list, int r) {
  auto at = std::partition_point(list.begin(), list.end(), [r](const Player& p) { return p.rating > r; });
  return static_cast<int32_t>(at - list.begin());
}

bool IsNational(std::string_view team, uint8_t& federation) {
  // A team number or letter after the country: "Turkey 2", "India B".
  if (team.size() > 2 && team[team.size() - 2] == ' ' &&
      ((team.back() >= '1' && team.back() <= '9') || (team.back() >= 'A' && team.back() <= 'E')))
    team.remove_suffix(2);
  if (int row = team.size() == 3 ? FederationByCode(team) : 0; row != 0) {
    federation = static_cast<uint8_t>(row);
    return true;
  }
  const std::string lower = Lower(team);
  for (size_t r = 0; r < FederationTable.size(); ++r)
    if (Lower(FederationTable[r].name) == lower) {
      federation = static_cast<uint8_t>(r + 1);
      return true;
    }
  return false;
}

}  // namespace

NameEvidence GatherEvidence(std::string_view name, std::span<const PlaceEvidence> places) {
  NameEvidence e;
  e.form = ReadNameForm(name);
  std::vector<uint16_t> elos;
  Title title = Title::kNone;
  bool titlesDiffer = false;
  uint8_t federation = e.form.federation;
  for (const PlaceEvidence& p : places) {
    if (p.elo != 0) elos.push_back(p.elo);
    if (p.title != Title::kNone) {
      titlesDiffer = titlesDiffer || (title != Title::kNone && title != p.title);
      title = p.title;
    }
    if (p.federation != 0) {
      e.federationsDiffer = e.federationsDiffer || (federation != 0 && federation != p.federation);
      federation = p.federation;
    }
  }
  if (!elos.empty()) {
    std::sort(elos.begin(), elos.end());
    const size_t n = elos.size();
    e.elo = static_cast<uint16_t>((elos[(n - 1) / 2] + elos[n / 2]) / 2);
    e.eloLow = elos.front();
    e.eloHigh = elos.back();
  }
  e.title = titlesDiffer ? Title::kNone : title;
  e.federation = e.federationsDiffer ? 0 : federation;
  return e;
}

EvidenceChoice ChooseByEvidence(const PlayerDatabase& db, const NameEvidence& e,
                                std::span<const int32_t> known, const EloGates& gates,
                                const RatingOf& ratingOf) {
  EvidenceChoice choice;
  Seen seen(db.Players(), e, gates, ratingOf);
  for (int32_t k : known)
    if (k >= 0 && static_cast<size_t>(k) < seen.list.size()) seen.Add(k);

  const HolderQuery query = HolderQueryOf(e.form);
  // Once several fit, only players rated within `reach` of the game's Elo
  // can still decide: in rating order they lie between `from` and `to`.
  const int reach = std::max(gates.near + gates.apart, gates.titled);
  const bool banded = e.elo != 0 && !ratingOf && db.RatingOrder();
  const int32_t from = banded ? FirstAtMost(seen.list, e.elo + reach) : 0;
  const int32_t to = banded ? FirstAtMost(seen.list, std::max(e.elo - reach - 1, 0)) : 0;
  choice.complete = true;
  VisitHolders(db, query, [&](int32_t index) -> int32_t {
    const Player& p = seen.list[static_cast<size_t>(index)];
    if (std::find(known.begin(), known.end(), index) == known.end() && FormFits(e.form, p.name)) {
      if (e.federation != 0 && p.federation != e.federation)
        ++seen.otherFederation;
      else
        seen.Add(index);
    }
    int32_t next = index + 1;
    if (seen.Undecidable()) next = kStopVisit;
    if (banded && seen.fitting >= 2) {
      if (next < from) next = from;
      if (next >= to) next = kStopVisit;
    }
    if (next != index + 1) choice.complete = false;
    return next;
  });
  choice.fitting = seen.fitting;
  for (const Near& n : seen.nearest) choice.candidates.push_back(n.index);
  Decide(seen, choice);
  return choice;
}

HolderQuery HolderQueryOf(const NameForm& form) {
  HolderQuery query;
  auto needLetter = [&](char c) {
    const uint32_t bit = uint32_t{1} << (c - 'a');
    if (query.letters & bit) query.letters |= kRepeatedLetter;
    query.letters |= bit;
  };
  for (const FormToken& t : form.tokens) {
    if (t.part == FormPart::kWhole)
      query.whole.push_back(t.text);
    else if (t.part == FormPart::kStart)
      query.starts.push_back(t.text);
    needLetter(t.text[0]);
  }
  for (char c : form.initials) needLetter(c);
  return query;
}

uint8_t NationalTeamFederation(std::string_view team, std::string_view otherTeam) {
  uint8_t federation = 0, other = 0;
  return IsNational(team, federation) && IsNational(otherTeam, other) ? federation : 0;
}
