// SPDX-License-Identifier: GPL-3.0-or-later
// Greedy anchored alignment by exact matches, and the left-end position of a read in another.
#include <algorithm>
#include <cctype>

#include "alignment/AlnUnit.h"
#include "common/NumberFormat.h"
#include "common/Services.h"

namespace {

constexpr int kWindow = 14;
constexpr int kReach = 500;
// The bar moves once per this many letters: a step per letter would cost more than the work.
constexpr int kLettersPerStep = 1024;

int Len(const std::string& s) {
  return static_cast<int>(s.size());
}

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// A window of one or two kinds of bases (a microsatellite, a poly-A run) matches too easily
// to place anything.
bool HasThreeBases(std::string_view k) {
  bool seen[4] = {false, false, false, false};
  for (char c : k) switch (Upper(c)) {
      case 'A':
        seen[0] = true;
        break;
      case 'C':
        seen[1] = true;
        break;
      case 'G':
        seen[2] = true;
        break;
      case 'T':
        seen[3] = true;
        break;
      default:
        break;
    }
  return seen[0] + seen[1] + seen[2] + seen[3] >= 3;
}

struct AnchorWalk {
  int pos = 1;
  int window = kWindow;

  // Places y's next window letters inside x's next reach letters by gaps put into y.
  bool Anchor(const std::string& x, std::string& y) {
    if (pos < 1 || Len(x) < pos || Len(y) < pos) return false;
    if (pos + window - 1 > Len(y)) return false;
    const std::string_view k(y.data() + pos - 1, static_cast<std::size_t>(window));
    if (!HasThreeBases(k)) return false;
    const std::string_view ahead =
        std::string_view(x).substr(static_cast<std::size_t>(pos - 1), kReach);
    const std::size_t found = ahead.find(k);
    if (found == std::string_view::npos || found == 0) return false;  // none, or already in line
    y.insert(static_cast<std::size_t>(pos - 1), found, '-');
    pos += static_cast<int>(found);
    return true;
  }
};

}  // namespace

void AnchoredAlign(std::string& a, std::string& b, IProgress* progress) {
  const int total = RoundHalfEvenInt((Len(a) + Len(b)) / 2.0);
  if (progress != nullptr)
    progress->StartProgress((total + kLettersPerStep - 1) / kLettersPerStep,
                            "Aligning two sequences...");
  AnchorWalk walk;
  int stepped = 0;
  while (Len(a) >= walk.pos + walk.window && Len(b) >= walk.pos + walk.window) {
    if (walk.Anchor(a, b) || walk.Anchor(b, a)) {
      while (walk.pos <= std::min(Len(a), Len(b)) &&
             Upper(a[static_cast<std::size_t>(walk.pos - 1)]) ==
                 Upper(b[static_cast<std::size_t>(walk.pos - 1)]))
        ++walk.pos;
    } else {
      ++walk.pos;
    }
    while (walk.pos + walk.window >= Len(b) && walk.window > 4) --walk.window;
    if (progress != nullptr && walk.pos / kLettersPerStep > stepped) {
      stepped = walk.pos / kLettersPerStep;
      progress->StepProgress(false);
    }
  }
  if (progress != nullptr) progress->EndProgress();
}

int LeftEndPosition(std::string_view probe, std::string_view target) {
  const int len = static_cast<int>(probe.size());
  const auto q = static_cast<std::size_t>(RoundHalfEvenInt(len / 4.0));
  const auto piece = [&](std::size_t from, std::size_t count) {
    return from >= probe.size() ? std::string_view() : probe.substr(from, count);
  };
  const std::string_view parts[4] = {piece(0, q), piece(q, q), piece(2 * q, q),
                                     piece(3 * q, std::string_view::npos)};
  int p[4];
  for (int k = 0; k < 4; ++k) {
    const std::size_t at = target.find(parts[k]);
    p[k] = at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
  }
  if (p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0) return 0;
  const auto inOrder = [&](int x, int y, int z) {
    return p[x] > 0 && p[x] < p[y] && p[y] < p[z] && p[y] - p[x] < len && p[z] - p[y] < len;
  };
  if (inOrder(0, 1, 2) || inOrder(0, 1, 3) || inOrder(0, 2, 3)) return p[0];
  if (inOrder(1, 2, 3)) return p[1] - static_cast<int>(q);
  return 0;
}
