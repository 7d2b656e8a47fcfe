#include "engine/strength.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/settings.h"

namespace marlek {

namespace {

// The ends of the scale of levels. Nodes fall exponentially from the top
// level to the lowest (each step of Elo halves them as often), and the
// temperature rises with the square of the distance from the top, so that
// the levels near full strength err rarely and the low ones often.
constexpr double nodes_at_top = 1000000.0;
constexpr double nodes_at_bottom = 40.0;
constexpr double temperature_at_top = 2.0;
constexpr double temperature_at_bottom = 130.0;
constexpr int lines_weighed = 4;

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
  plan.nodes = static_cast<std::uint64_t>(
      std::lround(nodes_at_bottom * std::pow(nodes_at_top / nodes_at_bottom, height)));
  plan.lines = lines_weighed;
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
