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
    if (chains.idFirst == kEnd) chains.idFirst = last;
  } else {
    last = static_cast<uint32_t>(places_.size());
    places_.push_back(place);
    if (chains.first == kEnd)
      chains.first = last;
    else if (chains.second == kEnd)
      chains.second = last;
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

PlaceStore::Offsets PlaceStore::Append(PlaceStore&& later) {
  // The links within the later store move with its places.
  auto shift = [](Place& p, size_t by) {
    if ((p.beforeAndSide & ~kBlackBit) != kEnd) p.beforeAndSide += static_cast<uint32_t>(by);
  };
  Offsets at;
  at.places = static_cast<uint32_t>(places_.Append(std::move(later.places_)));
  at.idPlaces = static_cast<uint32_t>(idPlaces_.Append(std::move(later.idPlaces_)));
  for (size_t i = at.places; i < places_.size(); ++i) shift(places_[i], at.places);
  for (size_t i = at.idPlaces; i < idPlaces_.size(); ++i) shift(idPlaces_[i].place, at.idPlaces);
  return at;
}

PlaceStore::Chains PlaceStore::Shift(const Chains& later, Offsets at) {
  auto shift = [](uint32_t i, uint32_t by) { return i == kEnd ? kEnd : i + by; };
  return {shift(later.last, at.places), shift(later.idLast, at.idPlaces), shift(later.first, at.places),
          shift(later.second, at.places), shift(later.idFirst, at.idPlaces)};
}

PlayerFacts PlaceStore::FirstWithoutId(const Chains& chains) const {
  const Place& p = places_[chains.first];
  return {0, p.rating, p.sex, p.title, p.federation, p.month, p.team};
}

void PlaceStore::Link(Place& place, uint32_t before) {
  place.beforeAndSide = (place.beforeAndSide & kBlackBit) | before;
}

void PlaceStore::Join(Chains& into, const Chains& later, bool dropFirst) {
  if (later.idFirst != kEnd) {
    Link(idPlaces_[later.idFirst].place, into.idLast);
    if (into.idFirst == kEnd) into.idFirst = later.idFirst;
    into.idLast = later.idLast;
  }
  // Dropping the first place leaves the second first; its own second is
  // not known, and not needed: a name is joined once.
  uint32_t first = dropFirst ? later.second : later.first;
  if (first == kEnd) return;
  Link(places_[first], into.last);
  if (into.first == kEnd) {
    into.first = first;
    into.second = dropFirst ? kEnd : later.second;
  } else if (into.second == kEnd) {
    into.second = first;
  }
  into.last = later.last;
}
