#include "progress/study_stats.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "progress/progress_stats.h"

namespace {

// The two-sided normal quantile of `confidence`.
constexpr double z95 = 1.959963984540054;

// P(B = k) for B ~ Bin(n, 1/2), in logs so that large n do not underflow.
double binomialHalf(int n, int k) {
  return std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) -
                  std::lgamma(n - k + 1.0) - n * std::log(2.0));
}

std::string labelOf(const std::string& label, const std::string& path) {
  return label.empty() ? path : label;
}

}  // namespace

Interval wilsonInterval(int hits, int trials) {
  Interval ci;
  if (trials <= 0) return ci;
  double n = trials, p = hits / n, z2 = z95 * z95;
  double denominator = 1 + z2 / n;
  double centre = (p + z2 / (2 * n)) / denominator;
  double half =
      z95 * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n)) / denominator;
  ci.low = std::max(0.0, centre - half);
  ci.high = std::min(1.0, centre + half);
  return ci;
}

Interval medianInterval(std::vector<double> values) {
  Interval ci;
  int n = int(values.size());
  double tail = (1 - confidence) / 2;
  // The largest l with P(B <= l - 1) <= tail.
  int l = 0;
  for (double below = 0; l + 1 <= n / 2; l++) {
    below += binomialHalf(n, l);
    if (below > tail) break;
  }
  if (l == 0) return ci;
  std::sort(values.begin(), values.end());
  ci.low = values[size_t(l - 1)];
  ci.high = values[size_t(n - l)];
  return ci;
}

Figures figuresOf(const std::vector<const TrialRow*>& rows) {
  Figures f;
  std::set<std::string> people;
  std::vector<double> ms;
  int marks = 0;
  double sum = 0;
  for (const TrialRow* r : rows) {
    people.insert(r->participant);
    f.hits += r->hit ? 1 : 0;
    marks += r->byMark ? 1 : 0;
    f.backUps += r->backUps;
    ms.push_back(double(r->selectionMs));
    sum += double(r->selectionMs);
  }
  f.participants = int(people.size());
  f.trials = int(rows.size());
  if (f.trials == 0) return f;
  f.hitRate = double(f.hits) / f.trials;
  f.markShare = double(marks) / f.trials;
  f.meanMs = sum / f.trials;
  f.medianMs = median(ms, 0, ms.size());
  f.hitRateCi = wilsonInterval(f.hits, f.trials);
  f.medianMsCi = medianInterval(ms);
  return f;
}

StudyFigures studyFigures(const std::vector<TrialRow>& rows) {
  StudyFigures s;
  using Key = std::tuple<std::string, std::string, int>;
  std::map<Key, std::vector<const TrialRow*>> cells, curves;
  std::map<std::string, std::vector<const TrialRow*>> conditions;
  std::set<std::string> studies;
  for (const TrialRow& r : rows) {
    if (r.practice) {
      s.practiceRows++;
      continue;
    }
    studies.insert(r.study);
    cells[{r.participant, r.condition, r.block}].push_back(&r);
    curves[{allParticipants, r.condition, r.block}].push_back(&r);
    conditions[r.condition].push_back(&r);
  }
  s.studies.assign(studies.begin(), studies.end());
  for (const auto& [key, members] : cells)
    s.cells.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key),
                       figuresOf(members)});
  for (const auto& [key, members] : curves)
    s.curves.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key),
                        figuresOf(members)});
  for (const auto& [condition, members] : conditions) {
    s.conditions.push_back(
        {allParticipants, condition, allBlocks, figuresOf(members)});
    Confusion c;
    c.condition = condition;
    std::set<std::string> targets, others;
    bool nothing = false;
    for (const TrialRow* r : members)
      targets.insert(labelOf(r->targetLabel, r->targetPath));
    for (const TrialRow* r : members) {
      if (r->chosenPath.empty())
        nothing = true;
      else if (!targets.count(labelOf(r->chosenLabel, r->chosenPath)))
        others.insert(labelOf(r->chosenLabel, r->chosenPath));
    }
    c.targets.assign(targets.begin(), targets.end());
    c.chosen = c.targets;
    c.chosen.insert(c.chosen.end(), others.begin(), others.end());
    if (nothing) c.chosen.push_back(nothingChosen);
    c.counts.assign(c.targets.size(), std::vector<int>(c.chosen.size(), 0));
    auto index = [](const std::vector<std::string>& names,
                    const std::string& name) {
      return size_t(std::lower_bound(names.begin(), names.end(), name) -
                    names.begin());
    };
    for (const TrialRow* r : members) {
      size_t t = index(c.targets, labelOf(r->targetLabel, r->targetPath));
      size_t k;
      if (r->chosenPath.empty()) {
        k = c.chosen.size() - 1;
      } else {
        std::string chosen = labelOf(r->chosenLabel, r->chosenPath);
        k = targets.count(chosen)
                ? index(c.targets, chosen)
                : c.targets.size() + size_t(std::distance(others.begin(),
                                                          others.find(chosen)));
      }
      c.largest = std::max(c.largest, ++c.counts[t][k]);
    }
    s.confusions.push_back(c);
  }
  return s;
}
