#include "engine/strength.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "engine/settings.h"

namespace marlek {

namespace {

// Nodes per move at a few levels, found by playing each against the
// reference (README, Levels); between two of them the count changes
// exponentially with the level. Depth costs nodes exponentially, so the
// count falls fast toward the lowest level, where the search barely
// reaches two plies; near the top it falls slowly, where a ply more or less
// is a hundred Elo.
struct node_anchor {
  int elo;
  double nodes;
};
constexpr node_anchor node_anchors[] = {
    {1000, 8000.0}, {1400, 700000.0}, {1600, 2500000.0}, {1700, 6000000.0}};
static_assert(node_anchors[0].elo == lowest_level_elo);
static_assert(std::end(node_anchors)[-1].elo == full_strength_elo);

// The temperature rises with the square of the distance from the top, so
// that the levels near full strength err rarely and the low ones often;
// the lower levels weigh more lines, having more moves worth a thought,
// while near the top a further line costs depth.
constexpr double temperature_at_top = 2.0;
constexpr double temperature_at_bottom = 100.0;
constexpr int fewest_lines = 2;
constexpr int most_lines = 4;

double nodes_at(int level) {
  const node_anchor* upper = std::find_if(std::begin(node_anchors), std::end(node_anchors),
                                          [&](const node_anchor& a) { return a.elo >= level; });
  if (upper == std::begin(node_anchors)) return upper->nodes;
  const node_anchor* lower = upper - 1;
  const double part = static_cast<double>(level - lower->elo) / (upper->elo - lower->elo);
  return lower->nodes * std::pow(upper->nodes / lower->nodes, part);
}

// A number in [0, 1) from a 64-bit seed (the splitmix64 finaliser).
double unit_from(std::uint64_t seed) {
  seed += 0x9e3779b97f4a7c15ULL;
  seed = (seed ^ (seed >> 30)) * 0xbf58476d1ce4e5b9ULL;
  seed = (seed ^ (seed >> 27)) * 0x94d049bb133111ebULL;
  seed ^= seed >> 31;
  return static_cast<double>(seed >> 11) * 0x1.0p-53;
}

}  // namespace

strength_plan plan_for_level(int elo) {
  const int level = std::clamp(elo, lowest_level_elo, full_strength_elo);
  // 0 at the lowest level, 1 at the top.
  const double height =
      static_cast<double>(level - lowest_level_elo) / (full_strength_elo - lowest_level_elo);
  const double depth_below = 1.0 - height;
  strength_plan plan;
  plan.nodes = static_cast<std::uint64_t>(std::lround(nodes_at(level)));
  plan.lines =
      fewest_lines + static_cast<int>(std::lround((most_lines - fewest_lines) * depth_below));
  plan.temperature_cp = static_cast<int>(
      std::lround(temperature_at_top +
                  (temperature_at_bottom - temperature_at_top) * depth_below * depth_below));
  return plan;
}

std::optional<int> strength_level() {
  if (setting_value(*find_setting("UCI_LimitStrength")) == 0) return std::nullopt;
  return static_cast<int>(setting_value(*find_setting("UCI_Elo")));
}

std::size_t choose_line(std::span<const int> scores, int temperature_cp, std::uint64_t seed) {
  if (scores.size() < 2 || temperature_cp <= 0) return 0;
  std::vector<double> weights;
  double total = 0;
  for (int score : scores) {
    const double loss = std::max(0, scores.front() - score);
    weights.push_back(std::exp(-loss / temperature_cp));
    total += weights.back();
  }
  double drawn = unit_from(seed) * total;
  for (std::size_t k = 0; k < weights.size(); ++k) {
    if (drawn < weights[k]) return k;
    drawn -= weights[k];
  }
  return 0;
}

}  // namespace marlek
