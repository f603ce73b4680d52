#include "text/regex/regex_emitter.h"

#include <cstddef>

namespace {

class RegexEmitter {
 public:
  RegexEmitter(const RegexSyntaxTree& tree, RegexProgram& program, RegexLoopForm loops)
      : tree_(tree), code_(program.instructions), countedLoops_(loops == RegexLoopForm::Counted) {}

  std::int32_t slotCount() const { return slots_; }
  bool overflow() const { return overflow_; }

  // Call 2; Fail or Advance; the sequence; Match.
  void EmitProgram() {
    Add(RegexOp::Call, 2);
    Add(tree_.anchored ? RegexOp::Fail : RegexOp::Advance);
    EmitNode(tree_.root);
    Add(RegexOp::Match);
  }

 private:
  std::int32_t Here() const { return static_cast<std::int32_t>(code_.size()); }

  // Appends an instruction and returns its index.
  std::int32_t Add(RegexOp type, std::int32_t operand = 0) {
    if (code_.size() >= kRegexMaxInstructions) {
      overflow_ = true;
      return 0;
    }
    code_.push_back({type, operand});
    return static_cast<std::int32_t>(code_.size() - 1);
  }

  // Points the instruction at index to the next one to be added.
  void PatchHere(std::int32_t index) {
    if (!overflow_)
      code_[static_cast<size_t>(index)].operand = Here();
  }

  const RegexNode& Node(std::int32_t index) const {
    return tree_.nodes[static_cast<size_t>(index)];
  }

  void EmitNode(std::int32_t index) {
    if (overflow_)
      return;
    const RegexNode& node = Node(index);
    switch (node.kind) {
      case RegexNodeKind::Literal:
        Add(RegexOp::Symbol, node.value);
        break;
      case RegexNodeKind::Any:
        Add(RegexOp::Any);
        break;
      case RegexNodeKind::EndOfText:
        Add(RegexOp::EndOfText);
        break;
      case RegexNodeKind::BackReference:
        Add(RegexOp::BackReference, node.value);
        break;
      case RegexNodeKind::Class:
        EmitClass(node);
        break;
      case RegexNodeKind::Group:
        EmitGroup(node);
        break;
      case RegexNodeKind::LookAhead:
        EmitLookAhead(node);
        break;
      case RegexNodeKind::Repeat:
        EmitRepeat(node);
        break;
      case RegexNodeKind::Alternation:
        EmitAlternation(node);
        break;
      case RegexNodeKind::Sequence:
        for (std::int32_t child : node.children)
          EmitNode(child);
        break;
    }
  }

  // InSet (or NotInSet) to the index after the class, then a Nop pair per range.
  void EmitClass(const RegexNode& node) {
    std::int32_t set = Add(node.negated ? RegexOp::NotInSet : RegexOp::InSet);
    for (const UnitRange& range : node.ranges) {
      Add(RegexOp::Nop, range.low);
      Add(RegexOp::Nop, range.high);
    }
    PatchHere(set);
  }

  // A group body, or a single Nop when it is empty.
  void EmitBody(std::int32_t sequence) {
    if (Node(sequence).children.empty())
      Add(RegexOp::Nop);
    else
      EmitNode(sequence);
  }

  void EmitGroup(const RegexNode& node) {
    const std::int32_t group = node.value;
    if (group < 0) {
      // Call body; Return; body.
      std::int32_t call = Add(RegexOp::Call);
      Add(RegexOp::Return);
      PatchHere(call);
      EmitBody(node.children[0]);
      return;
    }
    // PushGroup; GroupStart; Call body; PopGroup; Return; body; GroupEnd.
    Add(RegexOp::PushGroup, group);
    Add(RegexOp::GroupStart, group);
    std::int32_t call = Add(RegexOp::Call);
    Add(RegexOp::PopGroup, group);
    Add(RegexOp::Return);
    PatchHere(call);
    EmitBody(node.children[0]);
    Add(RegexOp::GroupEnd, group);
  }

  // The atom runs in a call: when it fails, position and stack are restored and the pattern goes
  // on; when it matches, they are restored and the path fails.
  void EmitLookAhead(const RegexNode& node) {
    const std::int32_t position = slots_++;
    const std::int32_t height = slots_++;
    Add(RegexOp::StorePosition, position);
    Add(RegexOp::StoreStackHeight, height);
    std::int32_t call = Add(RegexOp::Call);
    Add(RegexOp::LoadPosition, position);
    Add(RegexOp::LoadStackHeight, height);
    std::int32_t pastEnd = Add(RegexOp::Jump);
    PatchHere(call);
    EmitNode(node.children[0]);
    Add(RegexOp::LoadPosition, position);
    Add(RegexOp::LoadStackHeight, height);
    Add(RegexOp::Return);
    PatchHere(pastEnd);
  }

  // X|Y: PushPosition; Call X; PopPosition; Jump Y; X; Jump past Y; Y. A chain nests to the
  // right, so every "past Y" is the end of the chain.
  void EmitAlternation(const RegexNode& node) {
    const size_t count = node.children.size();
    const size_t withRightSide = node.trailingEmpty ? count : count - 1;
    std::vector<std::int32_t> toEnd;
    for (size_t i = 0; i < count && !overflow_; ++i) {
      if (i == withRightSide) {
        EmitNode(node.children[i]);
        break;
      }
      Add(RegexOp::PushPosition);
      std::int32_t call = Add(RegexOp::Call);
      Add(RegexOp::PopPosition);
      std::int32_t toRight = Add(RegexOp::Jump);
      PatchHere(call);
      EmitNode(node.children[i]);
      toEnd.push_back(Add(RegexOp::Jump));
      PatchHere(toRight);
    }
    for (std::int32_t jump : toEnd)
      PatchHere(jump);
  }

  // The node that matches exactly one unit when the atom does (a unit, ".", a class, or such
  // an item alone in a group that does not capture), or -1.
  std::int32_t UnitStep(std::int32_t index) const {
    const RegexNode& node = Node(index);
    switch (node.kind) {
      case RegexNodeKind::Literal:
      case RegexNodeKind::Any:
      case RegexNodeKind::Class:
        return index;
      case RegexNodeKind::Group:
        if (node.value < 0 && Node(node.children[0]).children.size() == 1)
          return UnitStep(Node(node.children[0]).children[0]);
        return -1;
      default:
        return -1;
    }
  }

  void EmitRepeat(const RegexNode& node) {
    const std::int32_t atom = node.children[0];
    const std::int32_t step = countedLoops_ ? UnitStep(atom) : -1;
    switch (static_cast<RegexRepeat>(node.value)) {
      case RegexRepeat::Plus:
        EmitNode(atom);
        EmitLoop(atom, step, false);
        break;
      case RegexRepeat::Star:
        EmitLoop(atom, step, false);
        break;
      case RegexRepeat::Optional:
        EmitGreedy(atom, false);
        break;
      case RegexRepeat::LazyPlus:
        EmitNode(atom);
        EmitLoop(atom, step, true);
        break;
      case RegexRepeat::LazyStar:
        EmitLoop(atom, step, true);
        break;
      case RegexRepeat::LazyOptional:
        EmitLazyOptional(atom);
        break;
    }
  }

  void EmitLoop(std::int32_t atom, std::int32_t step, bool lazy) {
    if (step >= 0)
      EmitUnitLoop(step, lazy);
    else if (lazy)
      EmitLazyLoop(atom);
    else
      EmitGreedy(atom, true);
  }

  // GreedyUnits end (or LazyUnits end); its Back instruction with the same operand; the step;
  // end:
  void EmitUnitLoop(std::int32_t step, bool lazy) {
    const std::int32_t head = Add(lazy ? RegexOp::LazyUnits : RegexOp::GreedyUnits);
    const std::int32_t back = Add(lazy ? RegexOp::LazyUnitsBack : RegexOp::GreedyUnitsBack);
    EmitNode(step);
    PatchHere(head);
    PatchHere(back);
  }

  // PushMemory m; StorePosition m; PushPosition; Call A; PopPosition; PopMemory m; Jump end;
  // A; FailIfNoProgress m; StorePosition m; [Jump back to the PushMemory].
  void EmitGreedy(std::int32_t atom, bool loop) {
    const std::int32_t slot = slots_++;
    std::int32_t head = Add(RegexOp::PushMemory, slot);
    Add(RegexOp::StorePosition, slot);
    Add(RegexOp::PushPosition);
    std::int32_t call = Add(RegexOp::Call);
    Add(RegexOp::PopPosition);
    Add(RegexOp::PopMemory, slot);
    std::int32_t toEnd = Add(RegexOp::Jump);
    PatchHere(call);
    EmitNode(atom);
    Add(RegexOp::FailIfNoProgress, slot);
    Add(RegexOp::StorePosition, slot);
    if (loop)
      Add(RegexOp::Jump, head);
    PatchHere(toEnd);
  }

  // The rest of the pattern first, then one more A, from the fewest iterations up. Going back
  // to A restores the position the rest started from, and an A that consumed nothing fails:
  //   head: PushPosition; Call end; PopPosition; PushMemory m; StorePosition m; Call A;
  //         PopMemory m; Return; A; FailIfNoProgress m; Jump head; end:
  void EmitLazyLoop(std::int32_t atom) {
    const std::int32_t slot = slots_++;
    std::int32_t head = Add(RegexOp::PushPosition);
    std::int32_t callRest = Add(RegexOp::Call);
    Add(RegexOp::PopPosition);
    Add(RegexOp::PushMemory, slot);
    Add(RegexOp::StorePosition, slot);
    std::int32_t callAtom = Add(RegexOp::Call);
    Add(RegexOp::PopMemory, slot);
    Add(RegexOp::Return);
    PatchHere(callAtom);
    EmitNode(atom);
    Add(RegexOp::FailIfNoProgress, slot);
    Add(RegexOp::Jump, head);
    PatchHere(callRest);
  }

  // PushPosition; Call past A; PopPosition; A.
  void EmitLazyOptional(std::int32_t atom) {
    Add(RegexOp::PushPosition);
    std::int32_t call = Add(RegexOp::Call);
    Add(RegexOp::PopPosition);
    EmitNode(atom);
    PatchHere(call);
  }

  const RegexSyntaxTree& tree_;
  std::vector<RegexInstruction>& code_;
  bool countedLoops_;
  std::int32_t slots_ = 0;
  bool overflow_ = false;
};

}  // namespace

int EmitRegex(const RegexSyntaxTree& tree, RegexProgram& program, RegexLoopForm loops) {
  program.instructions.clear();
  RegexEmitter emitter(tree, program, loops);
  emitter.EmitProgram();
  if (emitter.overflow()) {
    program.instructions.clear();
    return kRegexOutOfMemory;
  }
  program.memorySlotCount = emitter.slotCount();
  return kRegexOk;
}
