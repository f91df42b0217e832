#include "tools/placestore.h"

namespace {

constexpr uint32_t kBlackBit = 1u << 31;

}  // namespace

void PlaceStore::Add(Chains& chains, Side side, const PlayerFacts& player) {
  Place place{kEnd | (side == Side::Black ? kBlackBit : 0), player.rating, player.month, player.sex,
              player.title, player.federation};
  bool withId = player.fideId != 0;
  auto i = static_cast<uint32_t>(withId ? idPlaces_.size() : places_.size());
  if (withId)
    idPlaces_.push_back({place, player.fideId});
  else
    places_.push_back(place);
  uint32_t& first = withId ? chains.idFirst : chains.first;
  uint32_t& last = withId ? chains.idLast : chains.last;
  if (last == kEnd) {
    first = i;
  } else {
    Place& before = withId ? idPlaces_[last].place : places_[last];
    before.nextAndSide = (before.nextAndSide & kBlackBit) | i;
  }
  last = i;
}

void PlaceStore::Gather(const Chains& chains, std::vector<NamePlace>& places) const {
  places.clear();
  auto add = [&](const Place& p, int32_t fideId) {
    PlayerFacts player{fideId, p.rating, p.sex, p.title, p.federation, p.month};
    places.push_back({-1, p.nextAndSide & kBlackBit ? Side::Black : Side::White, player});
    return p.nextAndSide & ~kBlackBit;
  };
  for (uint32_t i = chains.idFirst; i != kEnd;) {
    const IdPlace& p = idPlaces_[i];
    i = add(p.place, p.fideId);
  }
  for (uint32_t i = chains.first; i != kEnd;) i = add(places_[i], 0);
}

void PlaceStore::Clear() {
  places_.clear();
  idPlaces_.clear();
}
