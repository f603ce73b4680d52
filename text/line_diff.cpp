#include "text/line_diff.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, next - start));
    start = next;
  }
  return lines;
}

// Marks the lines that an edit script from a to b removes from a and adds from b. Lines are
// compared by number: equal lines have equal numbers.
class EditScript {
 public:
  EditScript(const std::vector<int>& a, const std::vector<int>& b)
      : a_(a), b_(b), removed_(a.size()), added_(b.size()) {
    const size_t total = a.size() + b.size();
    forward_.resize(total + 3);
    backward_.resize(total + 3);
    offset_ = static_cast<long>(b.size()) + 1;
    tooExpensive_ = std::max(1024L, static_cast<long>(std::sqrt(static_cast<double>(total))) * 4);
  }

  void Compare() {
    // Ranges still to compare, kept on a stack: the splits of a long script nest deeply.
    std::vector<Range> pending{{0, static_cast<long>(a_.size()), 0, static_cast<long>(b_.size())}};
    while (!pending.empty()) {
      Range range = pending.back();
      pending.pop_back();
      while (range.aLow < range.aHigh && range.bLow < range.bHigh &&
             a_[range.aLow] == b_[range.bLow]) {
        ++range.aLow;
        ++range.bLow;
      }
      while (range.aLow < range.aHigh && range.bLow < range.bHigh &&
             a_[range.aHigh - 1] == b_[range.bHigh - 1]) {
        --range.aHigh;
        --range.bHigh;
      }
      if (range.aLow == range.aHigh || range.bLow == range.bHigh) {
        MarkAll(range);
        continue;
      }
      long x = 0;
      long y = 0;
      if (!Split(range, x, y) || x + y <= range.aLow + range.bLow ||
          x + y >= range.aHigh + range.bHigh) {
        MarkAll(range);  // no split that shortens both halves: replace the range whole
        continue;
      }
      pending.push_back({x, range.aHigh, y, range.bHigh});
      pending.push_back({range.aLow, x, range.bLow, y});
    }
  }

  const std::vector<bool>& removed() const { return removed_; }
  const std::vector<bool>& added() const { return added_; }

 private:
  struct Range {
    long aLow, aHigh, bLow, bHigh;
  };

  void MarkAll(const Range& range) {
    for (long i = range.aLow; i < range.aHigh; ++i)
      removed_[i] = true;
    for (long j = range.bLow; j < range.bHigh; ++j)
      added_[j] = true;
  }

  long& F(long diagonal) { return forward_[diagonal + offset_]; }
  long& B(long diagonal) { return backward_[diagonal + offset_]; }

  // The middle of a shortest edit script of the range, searched from both ends at once along
  // the diagonals k = x - y; past the cost limit the point furthest along either search.
  bool Split(const Range& r, long& splitX, long& splitY) {
    const long diagonalMin = r.aLow - r.bHigh;
    const long diagonalMax = r.aHigh - r.bLow;
    const long forwardMid = r.aLow - r.bLow;
    const long backwardMid = r.aHigh - r.bHigh;
    const bool odd = ((forwardMid - backwardMid) & 1) != 0;
    long fMin = forwardMid, fMax = forwardMid, bMin = backwardMid, bMax = backwardMid;
    F(forwardMid) = r.aLow;
    B(backwardMid) = r.aHigh;
    for (long cost = 1;; ++cost) {
      if (fMin > diagonalMin)
        F(--fMin - 1) = -1;
      else
        ++fMin;
      if (fMax < diagonalMax)
        F(++fMax + 1) = -1;
      else
        --fMax;
      for (long d = fMax; d >= fMin; d -= 2) {
        const long low = F(d - 1);
        const long high = F(d + 1);
        long x = low >= high ? low + 1 : high;
        long y = x - d;
        while (x < r.aHigh && y < r.bHigh && a_[x] == b_[y]) {
          ++x;
          ++y;
        }
        F(d) = x;
        if (odd && bMin <= d && d <= bMax && B(d) <= x) {
          splitX = x;
          splitY = y;
          return true;
        }
      }
      if (bMin > diagonalMin)
        B(--bMin - 1) = LONG_MAX;
      else
        ++bMin;
      if (bMax < diagonalMax)
        B(++bMax + 1) = LONG_MAX;
      else
        --bMax;
      for (long d = bMax; d >= bMin; d -= 2) {
        const long low = B(d - 1);
        const long high = B(d + 1);
        long x = low < high ? low : high - 1;
        long y = x - d;
        while (x > r.aLow && y > r.bLow && a_[x - 1] == b_[y - 1]) {
          --x;
          --y;
        }
        B(d) = x;
        if (!odd && fMin <= d && d <= fMax && x <= F(d)) {
          splitX = x;
          splitY = y;
          return true;
        }
      }
      if (cost < tooExpensive_)
        continue;
      // Too long a search: the point that got furthest from its own end.
      long bestForward = -1, forwardX = 0;
      for (long d = fMax; d >= fMin; d -= 2) {
        const long x = std::min(F(d), r.aHigh);
        const long y = x - d;
        if (y > r.bHigh || y < r.bLow)
          continue;
        if (x + y > bestForward) {
          bestForward = x + y;
          forwardX = x;
          splitY = y;
        }
      }
      long bestBackward = LONG_MAX, backwardX = 0, backwardY = 0;
      for (long d = bMax; d >= bMin; d -= 2) {
        const long x = std::max(B(d), r.aLow);
        const long y = x - d;
        if (y < r.bLow || y > r.bHigh)
          continue;
        if (x + y < bestBackward) {
          bestBackward = x + y;
          backwardX = x;
          backwardY = y;
        }
      }
      if (bestForward < 0 && bestBackward == LONG_MAX)
        return false;
      if (bestBackward == LONG_MAX ||
          (bestForward >= 0 &&
           bestForward - (r.aLow + r.bLow) >= (r.aHigh + r.bHigh) - bestBackward)) {
        splitX = forwardX;
        return true;
      }
      splitX = backwardX;
      splitY = backwardY;
      return true;
    }
  }

  const std::vector<int>& a_;
  const std::vector<int>& b_;
  std::vector<bool> removed_;
  std::vector<bool> added_;
  std::vector<long> forward_;
  std::vector<long> backward_;
  long offset_ = 0;
  long tooExpensive_ = 0;
};

}  // namespace

std::vector<DiffHunk> DiffLines(std::string_view before, std::string_view after,
                                size_t context) {
  const std::vector<std::string_view> oldLines = SplitLines(before);
  const std::vector<std::string_view> newLines = SplitLines(after);
  std::unordered_map<std::string_view, int> numbers;
  auto number = [&numbers](std::string_view line) {
    return numbers.emplace(line, static_cast<int>(numbers.size())).first->second;
  };
  std::vector<int> a, b;
  a.reserve(oldLines.size());
  b.reserve(newLines.size());
  for (std::string_view line : oldLines)
    a.push_back(number(line));
  for (std::string_view line : newLines)
    b.push_back(number(line));
  EditScript script(a, b);
  script.Compare();
  const std::vector<bool>& removed = script.removed();
  const std::vector<bool>& added = script.added();

  // The script as a sequence of steps through both texts.
  struct Step {
    char kind;
    size_t i;  // line of the old text (' ' and '-') or of the new one ('+')
  };
  std::vector<Step> steps;
  for (size_t i = 0, j = 0; i < a.size() || j < b.size();) {
    if (i < a.size() && removed[i]) {
      steps.push_back({'-', i++});
    } else if (j < b.size() && added[j]) {
      steps.push_back({'+', j++});
    } else {
      steps.push_back({' ', i});
      ++i;
      ++j;
    }
  }

  std::vector<DiffHunk> hunks;
  size_t s = 0;
  // Line numbers (from 0) in the two texts at step s.
  size_t oldAt = 0, newAt = 0;
  std::vector<size_t> oldBefore(steps.size() + 1), newBefore(steps.size() + 1);
  for (size_t k = 0; k < steps.size(); ++k) {
    oldBefore[k] = oldAt;
    newBefore[k] = newAt;
    if (steps[k].kind != '+')
      ++oldAt;
    if (steps[k].kind != '-')
      ++newAt;
  }
  oldBefore[steps.size()] = oldAt;
  newBefore[steps.size()] = newAt;
  while (s < steps.size()) {
    while (s < steps.size() && steps[s].kind == ' ')
      ++s;
    if (s == steps.size())
      break;
    const size_t first = s >= context ? s - context : 0;
    // The hunk ends where more than 2 * context unchanged steps follow a change.
    size_t end = s;
    for (size_t k = s; k < steps.size();) {
      if (steps[k].kind != ' ') {
        end = ++k;
        continue;
      }
      size_t run = k;
      while (run < steps.size() && steps[run].kind == ' ')
        ++run;
      if (run == steps.size() || run - k > 2 * context)
        break;
      k = run;
    }
    const size_t last = std::min(steps.size(), end + context);
    DiffHunk hunk;
    hunk.oldStart = oldBefore[first];
    hunk.newStart = newBefore[first];
    hunk.oldCount = oldBefore[last] - oldBefore[first];
    hunk.newCount = newBefore[last] - newBefore[first];
    if (hunk.oldCount != 0)
      ++hunk.oldStart;
    if (hunk.newCount != 0)
      ++hunk.newStart;
    for (size_t k = first; k < last; ++k) {
      const Step& step = steps[k];
      hunk.lines.push_back(
          {step.kind, std::string(step.kind == '+' ? newLines[step.i] : oldLines[step.i])});
    }
    hunks.push_back(std::move(hunk));
    s = last;
  }
  return hunks;
}

std::string HunkHeader(const DiffHunk& hunk) {
  auto range = [](size_t start, size_t count) {
    std::string text = std::to_string(start);
    if (count != 1)
      text += ',' + std::to_string(count);
    return text;
  };
  return "@@ -" + range(hunk.oldStart, hunk.oldCount) + " +" + range(hunk.newStart, hunk.newCount) +
         " @@";
}
