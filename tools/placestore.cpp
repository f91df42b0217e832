#include "tools/placestore.h"

#include <algorithm>

namespace {

constexpr uint32_t kBlackBit = 1u << 31;

}  // namespace

void PlaceStore::Add(Chains& chains, Side side, const PlayerFacts& player) {
  bool withId = player.fideId != 0;
  uint32_t& last = withId ? chains.idLast : chains.last;
  Place place{last | (side == Side::kBlack ? kBlackBit : 0),
              player.rating,
              player.month,
              player.sex,
              player.title,
              player.federation,
              player.team};
  if (withId) {
    last = static_cast<uint32_t>(idPlaces_.size());
    idPlaces_.push_back({place, player.fideId});
  } else {
    last = static_cast<uint32_t>(places_.size());
    places_.push_back(place);
  }
}

void PlaceStore::Gather(const Chains& chains, std::vector<NamePlace>& places) const {
  places.clear();
  auto add = [&](const Place& p, int32_t fideId) {
    PlayerFacts player{fideId, p.rating, p.sex, p.title, p.federation, p.month, p.team};
    places.push_back({-1, p.beforeAndSide & kBlackBit ? Side::kBlack : Side::kWhite, player});
    return p.beforeAndSide & ~kBlackBit;
  };
  for (uint32_t i = chains.idLast; i != kEnd;) {
    const IdPlace& p = idPlaces_[i];
    i = add(p.place, p.fideId);
  }
  size_t withId = places.size();
  for (uint32_t i = chains.last; i != kEnd;) i = add(places_[i], 0);
  // Each kind back into the order added.
  std::reverse(places.begin(), places.begin() + static_cast<std::ptrdiff_t>(withId));
  std::reverse(places.begin() + static_cast<std::ptrdiff_t>(withId), places.end());
}

void PlaceStore::Clear() {
  places_.clear();
  idPlaces_.clear();
}
