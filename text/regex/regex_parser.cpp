#include "text/regex/regex_parser.h"

#include <cstddef>
#include <initializer_list>
#include <utility>

namespace {

bool IsCloser(char16_t c) {
  return c == u')' || c == u']' || c == u'}';
}

class RegexParser {
 public:
  RegexParser(std::u16string_view pattern, RegexSyntaxTree& tree)
      : pattern_(pattern), tree_(tree) {}

  int ParsePattern() {
    if (!pattern_.empty() && pattern_[0] == u'^') {
      tree_.anchored = true;
      pos_ = 1;
    }
    bool canBeEmpty = false;
    // A closer at the top level ends the pattern; the rest is ignored.
    int error = ParseSequence(tree_.root, canBeEmpty);
    tree_.groupCount = groupCounter_;
    tree_.groupInLookAhead.resize(static_cast<size_t>(groupCounter_));
    return error;
  }

 private:
  bool AtEnd() const { return pos_ >= pattern_.size(); }
  char16_t Peek() const { return pattern_[pos_]; }

  std::int32_t AddNode(RegexNodeKind kind, std::int32_t value = 0) {
    RegexNode node;
    node.kind = kind;
    node.value = value;
    tree_.nodes.push_back(std::move(node));
    return static_cast<std::int32_t>(tree_.nodes.size() - 1);
  }

  std::int32_t AddParent(RegexNodeKind kind, std::int32_t value, std::int32_t child) {
    std::int32_t node = AddNode(kind, value);
    tree_.nodes[static_cast<size_t>(node)].children.push_back(child);
    return node;
  }

  std::int32_t AddClass(std::initializer_list<UnitRange> ranges, bool negated = false) {
    std::int32_t node = AddNode(RegexNodeKind::Class);
    tree_.nodes[static_cast<size_t>(node)].ranges.assign(ranges);
    tree_.nodes[static_cast<size_t>(node)].negated = negated;
    return node;
  }

  // A non-capturing group around the given items.
  std::int32_t AddPlainGroup(std::initializer_list<std::int32_t> items) {
    std::int32_t sequence = AddNode(RegexNodeKind::Sequence);
    tree_.nodes[static_cast<size_t>(sequence)].children.assign(items);
    return AddParent(RegexNodeKind::Group, -1, sequence);
  }

  // sequence: items up to the end of the pattern or a closer.
  int ParseSequence(std::int32_t& node, bool& canBeEmpty) {
    node = AddNode(RegexNodeKind::Sequence);
    canBeEmpty = true;
    while (!AtEnd() && !IsCloser(Peek())) {
      std::int32_t item = -1;
      bool itemEmpty = false;
      if (int error = ParseItem(item, itemEmpty))
        return error;
      if (item < 0)
        continue;  // an alternation dropped for its empty right side
      tree_.nodes[static_cast<size_t>(node)].children.push_back(item);
      canBeEmpty = canBeEmpty && itemEmpty;
    }
    return kRegexOk;
  }

  // item: quantified atom ["|" item], read as a chain. A "|" followed by the end of the pattern
  // or a closer is dropped together with the atom before it; item is -1 when nothing is left.
  int ParseItem(std::int32_t& item, bool& canBeEmpty) {
    std::vector<std::int32_t> chain;
    bool chainEmpty = false;
    bool trailingEmpty = false;
    for (;;) {
      const std::int32_t groupsBefore = groupCounter_;
      std::int32_t atom = -1;
      bool atomEmpty = false;
      if (int error = ParseQuantified(atom, atomEmpty))
        return error;
      if (AtEnd() || Peek() != u'|') {
        chain.push_back(atom);
        chainEmpty = chainEmpty || atomEmpty;
        break;
      }
      ++pos_;
      if (AtEnd() || IsCloser(Peek())) {
        groupCounter_ = groupsBefore;
        tree_.groupInLookAhead.resize(static_cast<size_t>(groupCounter_));
        trailingEmpty = !chain.empty();
        break;
      }
      chain.push_back(atom);
      chainEmpty = chainEmpty || atomEmpty;
    }
    if (chain.empty()) {
      item = -1;
      return kRegexOk;
    }
    if (chain.size() == 1 && !trailingEmpty) {
      item = chain[0];
      canBeEmpty = chainEmpty;
      return kRegexOk;
    }
    item = AddNode(RegexNodeKind::Alternation);
    tree_.nodes[static_cast<size_t>(item)].children = std::move(chain);
    tree_.nodes[static_cast<size_t>(item)].trailingEmpty = trailingEmpty;
    canBeEmpty = chainEmpty || trailingEmpty;
    return kRegexOk;
  }

  // quantified atom: atom ["*" | "+" | "?"] ["?"].
  int ParseQuantified(std::int32_t& node, bool& canBeEmpty) {
    std::int32_t atom = -1;
    bool atomEmpty = false;
    if (int error = ParseAtom(atom, atomEmpty))
      return error;
    if (AtEnd() || (Peek() != u'*' && Peek() != u'+' && Peek() != u'?')) {
      node = atom;
      canBeEmpty = atomEmpty;
      return kRegexOk;
    }
    const char16_t quantifier = Peek();
    ++pos_;
    const bool lazy = !AtEnd() && Peek() == u'?';
    if (lazy)
      ++pos_;
    RegexRepeat repeat;
    if (quantifier == u'*')
      repeat = lazy ? RegexRepeat::LazyStar : RegexRepeat::Star;
    else if (quantifier == u'+')
      repeat = lazy ? RegexRepeat::LazyPlus : RegexRepeat::Plus;
    else
      repeat = lazy ? RegexRepeat::LazyOptional : RegexRepeat::Optional;
    if (atomEmpty && quantifier != u'?')
      return kRegexEmptyRepeat;
    node = AddParent(RegexNodeKind::Repeat, static_cast<std::int32_t>(repeat), atom);
    canBeEmpty = repeat != RegexRepeat::Plus;
    return kRegexOk;
  }

  int ParseAtom(std::int32_t& node, bool& canBeEmpty) {
    canBeEmpty = false;
    const char16_t c = Peek();
    switch (c) {
      case u'(':
      case u'{':
        return ParseGroup(node, canBeEmpty);
      case u'[':
        return ParseClass(node);
      case u'.':
        ++pos_;
        node = AddNode(RegexNodeKind::Any);
        return kRegexOk;
      case u'$':
        ++pos_;
        if (AtEnd()) {
          node = AddNode(RegexNodeKind::EndOfText);
          canBeEmpty = true;
        } else {
          node = AddNode(RegexNodeKind::Literal, c);
        }
        return kRegexOk;
      case u'!':
        // Nothing to look at: the mark stands for itself.
        if (pos_ + 1 >= pattern_.size() || IsCloser(pattern_[pos_ + 1]))
          break;
        return ParseLookAhead(node, canBeEmpty);
      case u'\\':
        return ParseEscape(node);
      default:
        break;
    }
    ++pos_;
    node = AddNode(RegexNodeKind::Literal, c);
    return kRegexOk;
  }

  int ParseGroup(std::int32_t& node, bool& canBeEmpty) {
    const bool capturing = Peek() == u'{';
    if (depth_ >= kRegexMaxNesting)
      return kRegexOutOfMemory;
    ++pos_;
    std::int32_t group = -1;
    if (capturing) {
      group = groupCounter_++;
      tree_.groupInLookAhead.push_back(lookAheadDepth_ > 0);
    }
    ++depth_;
    std::int32_t body = -1;
    int error = ParseSequence(body, canBeEmpty);
    --depth_;
    if (error)
      return error;
    if (AtEnd() || Peek() != (capturing ? u'}' : u')'))
      return capturing ? kRegexBraceExpected : kRegexParenthesisExpected;
    ++pos_;
    node = AddParent(RegexNodeKind::Group, group, body);
    return kRegexOk;
  }

  int ParseLookAhead(std::int32_t& node, bool& canBeEmpty) {
    if (depth_ >= kRegexMaxNesting)
      return kRegexOutOfMemory;
    ++pos_;
    ++depth_;
    ++lookAheadDepth_;
    std::int32_t atom = -1;
    bool atomEmpty = false;
    int error = ParseAtom(atom, atomEmpty);
    --lookAheadDepth_;
    --depth_;
    if (error)
      return error;
    node = AddParent(RegexNodeKind::LookAhead, 0, atom);
    canBeEmpty = true;
    return kRegexOk;
  }

  // "[" ["^"] items "]"; an item is a unit or "\" and a unit, optionally "-" and an upper bound.
  int ParseClass(std::int32_t& node) {
    ++pos_;
    node = AddNode(RegexNodeKind::Class);
    if (!AtEnd() && Peek() == u'^') {
      tree_.nodes[static_cast<size_t>(node)].negated = true;
      ++pos_;
    }
    if (!AtEnd() && Peek() == u']')
      return kRegexEmptyRange;
    for (;;) {
      if (AtEnd())
        return kRegexBracketExpected;
      char16_t low = Peek();
      if (low == u']') {
        ++pos_;
        return kRegexOk;
      }
      if (low == u'\\') {
        if (pos_ + 1 >= pattern_.size())
          return kRegexBracketExpected;
        low = pattern_[++pos_];
        if (low == u't')
          low = u'\t';
      }
      ++pos_;
      char16_t high = low;
      if (!AtEnd() && Peek() == u'-') {
        if (pos_ + 1 >= pattern_.size() || pattern_[pos_ + 1] == u']')
          return kRegexBracketExpected;
        high = pattern_[pos_ + 1];
        pos_ += 2;
        if (high < low)
          return kRegexInvalidRange;
      }
      tree_.nodes[static_cast<size_t>(node)].ranges.push_back({low, high});
    }
  }

  int ParseEscape(std::int32_t& node) {
    ++pos_;
    if (AtEnd()) {
      // A final backslash stands for itself.
      node = AddNode(RegexNodeKind::Literal, u'\\');
      return kRegexOk;
    }
    const char16_t c = Peek();
    if (c >= u'0' && c <= u'9') {
      std::int64_t number = 0;
      while (!AtEnd() && Peek() >= u'0' && Peek() <= u'9') {
        if (number <= groupCounter_)  // stop growing once it is out of range anyway
          number = number * 10 + (Peek() - u'0');
        ++pos_;
      }
      if (number >= groupCounter_)
        return kRegexInvalidGroup;
      node = AddNode(RegexNodeKind::BackReference, static_cast<std::int32_t>(number));
      return kRegexOk;
    }
    ++pos_;
    node = Abbreviation(c);
    if (node < 0)
      node = AddNode(RegexNodeKind::Literal, c);
    return kRegexOk;
  }

  // The fragment an abbreviation letter stands for, or -1.
  std::int32_t Abbreviation(char16_t letter) {
    constexpr UnitRange kLower{u'a', u'z'}, kUpper{u'A', u'Z'}, kDigit{u'0', u'9'};
    switch (letter) {
      case u'a':
        return AddPlainGroup({AddClass({kLower, kUpper, kDigit})});
      case u'b':
        return AddPlainGroup({AddClass({{u' ', u' '}, {u'\t', u'\t'}})});
      case u'c':
        return AddPlainGroup({AddClass({kLower, kUpper})});
      case u'd':
        return AddPlainGroup({AddClass({kDigit})});
      case u'h':
        return AddPlainGroup({AddClass({kDigit, {u'a', u'f'}, {u'A', u'F'}})});
      case u'n': {
        // A lone CR first, then an optional CR followed by LF.
        std::int32_t crLf = AddPlainGroup(
            {AddParent(RegexNodeKind::Repeat, static_cast<std::int32_t>(RegexRepeat::Optional),
                       AddNode(RegexNodeKind::Literal, u'\r')),
             AddNode(RegexNodeKind::Literal, u'\n')});
        std::int32_t either = AddNode(RegexNodeKind::Alternation);
        tree_.nodes[static_cast<size_t>(either)].children = {AddNode(RegexNodeKind::Literal, u'\r'),
                                                             crLf};
        return AddPlainGroup({either});
      }
      case u'q':
        return AddPlainGroup(
            {AddNode(RegexNodeKind::Literal, u'"'),
             AddParent(RegexNodeKind::Repeat, static_cast<std::int32_t>(RegexRepeat::Star),
                       AddClass({{u'"', u'"'}}, true)),
             AddNode(RegexNodeKind::Literal, u'"')});
      case u'w':
        return AddPlainGroup(
            {AddParent(RegexNodeKind::Repeat, static_cast<std::int32_t>(RegexRepeat::Plus),
                       AddClass({kLower, kUpper}))});
      case u'z':
        return AddPlainGroup(
            {AddParent(RegexNodeKind::Repeat, static_cast<std::int32_t>(RegexRepeat::Plus),
                       AddClass({kDigit}))});
      default:
        return -1;
    }
  }

  std::u16string_view pattern_;
  RegexSyntaxTree& tree_;
  size_t pos_ = 0;
  int depth_ = 0;
  int lookAheadDepth_ = 0;
  std::int32_t groupCounter_ = 0;
};

}  // namespace

int ParseRegex(std::u16string_view pattern, RegexSyntaxTree& tree) {
  tree = RegexSyntaxTree();
  RegexParser parser(pattern, tree);
  return parser.ParsePattern();
}
