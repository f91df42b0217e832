// The places of every name of a file while `players tag` reads it, until the
// names are decided: what each game says about its player in 12 bytes, 16
// with a FIDE ID, in blocks; each name's places chained from the last added
// to the first, so that adding one touches no other. A file read in two
// parts side by side has a store for each; the later one's places are then
// joined after the earlier one's.
#pragma once

#include <cstdint>
#include <vector>

#include "tagrules/tagrules.h"
#include "tools/blockvector.h"

class PlaceStore {
 public:
  static constexpr uint32_t kEnd = UINT32_MAX >> 1;

  // A name's places: the last and first of those with a FIDE ID and of the
  // others, and the second of the others.
  struct Chains {
    uint32_t last = kEnd, idLast = kEnd;
    uint32_t first = kEnd, second = kEnd, idFirst = kEnd;
  };
  // Where the places of a store appended here begin.
  struct Offsets {
    uint32_t places = 0, idPlaces = 0;
  };

  void Add(Chains& chains, Side side, const PlayerFacts& player);
  // The name's places, those with a FIDE ID first, each kind in the order
  // added; their game is -1 (not kept).
  void Gather(const Chains& chains, std::vector<NamePlace>& places) const;
  size_t Count() const { return places_.size() + idPlaces_.size(); }
  void Clear();

  // Takes over the places of the store of a later part of the file; the
  // chains of its names hold here once shifted by the offsets returned.
  Offsets Append(PlaceStore&& later);
  static Chains Shift(const Chains& later, Offsets at);
  // What the first place without a FIDE ID of the chains says (shifted
  // chains that hold one).
  PlayerFacts FirstWithoutId(const Chains& chains) const;
  // A name's places of the later part (shifted chains) after its places
  // here, without the first place without FIDE ID when dropFirst.
  void Join(Chains& into, const Chains& later, bool dropFirst);

 private:
  // A place without FIDE ID; beforeAndSide: the place added before it to
  // the chain (kEnd none), the side in the top bit.
  struct Place {
    uint32_t beforeAndSide;
    uint16_t rating;
    int16_t month;
    Sex sex;
    Title title;
    uint8_t federation;
    uint8_t team;
  };
  struct IdPlace {
    Place place;
    int32_t fideId;
  };
  static void Link(Place& place, uint32_t before);
  BlockVector<Place> places_;
  BlockVector<IdPlace> idPlaces_;
};
