#include "containers/list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The values from head to tail, walked with the callers' idiom; the cursor is left at the tail.
std::string contents(List<int>& l) {
  std::string out;
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    out += std::to_string(l.current()) + " ";
    more = l.next();
  }
  return out;
}

List<int> makeList(std::initializer_list<int> values, int cursorSteps) {
  List<int> l;
  for (int v : values) l.enqueue(v);
  l.goToFirst();
  for (int i = 0; i < cursorSteps; ++i) l.next();
  return l;
}

TEST(List, NewListIsEmptyAndCursorStaysNull) {
  List<int> l;
  EXPECT_TRUE(l.isEmpty());
  EXPECT_EQ(l.len(), 0u);
  EXPECT_FALSE(l.next());
  l.goToFirst();
  EXPECT_TRUE(l.isEmpty());
  EXPECT_EQ(contents(l), "");
}

TEST(List, EmptyListGivesDefaultValuesAndStaysEmpty) {
  List<int> l;
  EXPECT_EQ(l.first(), 0);
  EXPECT_EQ(l.current(), 0);
  EXPECT_EQ(l.pop(), 0);
  EXPECT_EQ(l.dequeue(), 0);
  EXPECT_TRUE(l.isEmpty());
  EXPECT_EQ(l.len(), 0u);
  List<const char*> p;
  EXPECT_EQ(p.pop(), nullptr);
  EXPECT_EQ(p.first(), nullptr);
}

TEST(List, PushPopIsLastInFirstOutAndEnqueueDequeueFirstInFirstOut) {
  List<int> s;
  s.push(1);
  s.push(2);
  s.push(3);
  EXPECT_EQ(s.len(), 3u);
  EXPECT_EQ(s.pop(), 3);
  EXPECT_EQ(s.pop(), 2);
  EXPECT_EQ(s.pop(), 1);
  EXPECT_TRUE(s.isEmpty());
  List<int> q;
  q.enqueue(1);
  q.enqueue(2);
  q.enqueue(3);
  EXPECT_EQ(q.dequeue(), 1);
  EXPECT_EQ(q.dequeue(), 2);
  EXPECT_EQ(q.dequeue(), 3);
  EXPECT_TRUE(q.isEmpty());
}

TEST(List, FirstInsertionPlacesCursorLaterOnesDoNot) {
  List<int> l;
  l.enqueue(1);
  l.enqueue(2);
  EXPECT_EQ(l.current(), 1);
  EXPECT_TRUE(l.next());
  EXPECT_EQ(l.current(), 2);
  EXPECT_FALSE(l.next());
  EXPECT_EQ(l.current(), 2);

  List<int> m;
  m.enqueue(5);
  m.push(4);
  EXPECT_EQ(m.current(), 5);
  EXPECT_EQ(m.first(), 4);
  EXPECT_EQ(contents(m), "4 5 ");
}

TEST(List, PopMovesCursorOnlyWhenItIsOnTheHead) {
  List<int> l = makeList({1, 2, 3}, 0);
  EXPECT_EQ(l.pop(), 1);
  EXPECT_EQ(l.current(), 2);
  List<int> m = makeList({1, 2, 3}, 2);
  EXPECT_EQ(m.pop(), 1);
  EXPECT_EQ(m.current(), 3);
  EXPECT_EQ(m.pop(), 2);
  EXPECT_EQ(m.current(), 3);
  EXPECT_EQ(m.len(), 1u);
}

TEST(List, PoppingLastElementEmptiesCompletely) {
  List<int> l;
  l.push(7);
  EXPECT_EQ(l.pop(), 7);
  EXPECT_TRUE(l.isEmpty());
  EXPECT_EQ(l.len(), 0u);
  EXPECT_FALSE(l.next());
  l.enqueue(8);  // must become head, tail and cursor at once
  EXPECT_EQ(l.first(), 8);
  EXPECT_EQ(l.current(), 8);
  l.enqueue(9);
  EXPECT_EQ(contents(l), "8 9 ");
  EXPECT_EQ(l.dequeue(), 8);
  EXPECT_EQ(l.dequeue(), 9);
  l.push(10);  // push after emptying by dequeue: tail must be reset too
  l.enqueue(11);
  EXPECT_EQ(contents(l), "10 11 ");
}

TEST(List, MixedStackAndQueueTakeFromHead) {
  List<int> l;
  l.enqueue(2);
  l.push(1);
  l.enqueue(3);
  EXPECT_EQ(l.pop(), 1);
  EXPECT_EQ(l.dequeue(), 2);
  EXPECT_EQ(l.pop(), 3);
}

TEST(List, CopyConstructorKeepsValuesAndCursor) {
  for (int steps = 0; steps < 4; ++steps) {
    List<int> src = makeList({1, 2, 3, 4}, steps);
    List<int> copy(src);
    EXPECT_EQ(copy.len(), 4u);
    EXPECT_EQ(copy.current(), steps + 1);
    EXPECT_EQ(contents(copy), "1 2 3 4 ");
  }
  List<int> empty;
  List<int> copy(empty);
  EXPECT_TRUE(copy.isEmpty());
}

TEST(List, AssignmentShrinksGrowsAndPlacesCursor) {
  struct Case {
    std::initializer_list<int> target;
    int targetSteps;
    std::initializer_list<int> source;
    int sourceSteps;
    const char* expected;
    int expectedCurrent;  // 0: expect empty
  };
  const Case cases[] = {
      {{9, 9, 9, 9, 9}, 4, {1, 2}, 1, "1 2 ", 2},        // shrink, target cursor in the cut part
      {{}, 0, {1, 2}, 1, "1 2 ", 2},                     // grow from empty
      {{9}, 0, {1, 2, 3}, 2, "1 2 3 ", 3},               // grow, cursor in the appended part
      {{9, 9, 9}, 1, {1, 2, 3}, 0, "1 2 3 ", 1},         // same length
      {{9, 9, 9}, 2, {}, 0, "", 0},                      // assigning an empty list empties
      {{9, 9}, 0, {1, 2, 3, 4, 5}, 3, "1 2 3 4 5 ", 4},  // grow, cursor in the appended part
      {{9, 9, 9, 9}, 0, {1, 2, 3}, 1, "1 2 3 ", 2},      // shrink, cursor in the kept part
  };
  for (const Case& c : cases) {
    List<int> target = makeList(c.target, c.targetSteps);
    List<int> source = makeList(c.source, c.sourceSteps);
    target = source;
    EXPECT_EQ(target.len(), c.source.size());
    if (c.expectedCurrent == 0) {
      EXPECT_TRUE(target.isEmpty());
      EXPECT_EQ(target.first(), 0);
    } else {
      EXPECT_EQ(target.current(), c.expectedCurrent) << c.expected;
    }
    // The result must behave as an ordinary list afterwards: both ends linked correctly.
    target.enqueue(100);
    target.push(0);
    EXPECT_EQ(contents(target), std::string("0 ") + c.expected + "100 ");
    EXPECT_EQ(target.len(), c.source.size() + 2);
    // The source is untouched.
    EXPECT_EQ(source.len(), c.source.size());
  }
}

TEST(List, SelfAssignmentChangesNothing) {
  List<int> l = makeList({1, 2, 3}, 1);
  List<int>& alias = l;
  l = alias;
  EXPECT_EQ(l.current(), 2);
  EXPECT_EQ(l.len(), 3u);
  EXPECT_EQ(contents(l), "1 2 3 ");
}

TEST(List, PointerValuesAreCopiedNotThePointees) {
  int a = 1, b = 2;
  List<int*> l;
  l.enqueue(&a);
  l.enqueue(&b);
  {
    List<int*> copy(l);
    List<int*> assigned;
    assigned.enqueue(nullptr);
    assigned = l;
    EXPECT_EQ(copy.first(), &a);
    EXPECT_EQ(assigned.first(), &a);
  }  // destroying the copies must leave a and b alone (the sanitizer build would catch a free)
  EXPECT_EQ(l.pop(), &a);
  EXPECT_EQ(*l.pop(), 2);
}

TEST(List, ValuesOwningMemoryAreCopiedAndFreed) {
  List<std::string> l;
  l.enqueue(std::string(100, 'x'));
  l.enqueue("short");
  List<std::string> other;
  for (int i = 0; i < 5; ++i) other.push(std::string(50, 'y'));
  other = l;
  l.pop();
  EXPECT_EQ(other.first(), std::string(100, 'x'));
  EXPECT_EQ(other.len(), 2u);
}

// clear() empties the list as popping everything would, and the kept elements take the next
// values: a refilled list is the same as a new one.
TEST(List, ClearedListRefillsLikeANewOne) {
  List<std::string> l;
  for (const char* v : {"a", "b", "c"}) l.enqueue(v);
  l.clear();
  EXPECT_TRUE(l.isEmpty());
  EXPECT_EQ(l.len(), 0u);
  EXPECT_EQ(l.first(), "");
  EXPECT_FALSE(l.next());
  l.enqueue("x");
  l.push("w");
  l.enqueue("y");
  l.enqueue("z");  // one more than before: a new element
  EXPECT_EQ(l.len(), 4u);
  std::string out;
  bool more = !l.isEmpty();
  for (l.goToFirst(); more; more = l.next()) out += l.current();
  EXPECT_EQ(out, "wxyz");
  List<std::string> copy = l;
  l.clear();
  l.clear();
  EXPECT_EQ(copy.len(), 4u);
  EXPECT_EQ(copy.first(), "w");
  EXPECT_EQ(l.pop(), "");
}

}  // namespace
