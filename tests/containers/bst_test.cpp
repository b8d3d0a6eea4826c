#include "containers/bst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// Opens the tree's structure to the tests.
template <class T, class K>
class Inspectable : public BST<T, K> {
 public:
  using Node = typename BST<T, K>::TreeNode;
  using BST<T, K>::BST;
  using BST<T, K>::operator=;
  const Node* top() const { return this->root; }
  std::uint64_t count() const { return this->itemCount; }

  // Pre-order "key:balance" with "." for a missing child: equal strings mean equal shapes.
  std::string shape() const {
    std::string out;
    std::vector<const Node*> stack{this->root};
    while (!stack.empty()) {
      const Node* n = stack.back();
      stack.pop_back();
      if (n == nullptr) {
        out += ". ";
        continue;
      }
      out += std::to_string(n->key) + ":" + std::to_string(n->balance) + " ";
      stack.push_back(n->rightChild);
      stack.push_back(n->leftChild);
    }
    return out;
  }

  // Checks every balance against the real height difference and the key order; returns the height.
  int checkedHeight() const {
    std::map<const Node*, int> height;
    std::vector<std::pair<const Node*, bool>> stack;
    if (this->root != nullptr) stack.push_back({this->root, false});
    while (!stack.empty()) {
      auto [n, childrenDone] = stack.back();
      stack.pop_back();
      if (!childrenDone) {
        stack.push_back({n, true});
        if (n->leftChild) stack.push_back({n->leftChild, false});
        if (n->rightChild) stack.push_back({n->rightChild, false});
        continue;
      }
      int hl = n->leftChild ? height[n->leftChild] : 0;
      int hr = n->rightChild ? height[n->rightChild] : 0;
      EXPECT_EQ(n->balance, hr - hl) << "at key " << n->key;
      EXPECT_LE(std::abs(hr - hl), 1) << "at key " << n->key;
      EXPECT_EQ(n->visitState, 0) << "at key " << n->key;
      if (n->leftChild) {
        EXPECT_TRUE(n->key > n->leftChild->key);
      }
      if (n->rightChild) {
        EXPECT_TRUE(n->rightChild->key > n->key);
      }
      height[n] = 1 + std::max(hl, hr);
    }
    return this->root ? height[this->root] : 0;
  }
};

using IntTree = Inspectable<int, int>;

std::vector<int> items(List<int>& l) {
  std::vector<int> out;
  bool more = !l.isEmpty();
  l.goToFirst();
  while (more) {
    out.push_back(l.current());
    more = l.next();
  }
  return out;
}

IntTree build(std::initializer_list<int> keys) {
  IntTree t;
  for (int k : keys) EXPECT_TRUE(t.addItem(k * 10, k));
  return t;
}

TEST(BST, EachRotationKindGivesTheExpectedShape) {
  struct Case {
    std::initializer_list<int> keys;
    const char* shape;
  };
  const Case cases[] = {
      {{1, 2, 3}, "2:0 1:0 . . 3:0 . . "},  // RR at 1
      {{3, 2, 1}, "2:0 1:0 . . 3:0 . . "},  // LL at 3
      {{3, 1, 2}, "2:0 1:0 . . 3:0 . . "},  // LR at 3
      {{1, 3, 2}, "2:0 1:0 . . 3:0 . . "},  // RL at 1
      // LR whose middle node leans left: the unbalanced node ends leaning right.
      {{50, 20, 80, 10, 30, 25}, "30:0 20:0 10:0 . . 25:0 . . 50:1 . 80:0 . . "},
      // LR whose middle node leans right: the left node ends leaning left.
      {{50, 20, 80, 10, 30, 35}, "30:0 20:-1 10:0 . . . 50:0 35:0 . . 80:0 . . "},
      // RL whose middle node leans right: the unbalanced node ends leaning left.
      {{20, 10, 50, 40, 60, 45}, "40:0 20:-1 10:0 . . . 50:0 45:0 . . 60:0 . . "},
      // RL whose middle node leans left: the right node ends leaning right.
      {{20, 10, 50, 40, 60, 35}, "40:0 20:0 10:0 . . 35:0 . . 50:1 . 60:0 . . "},
      // Rotation below the root: the parent's right link must receive the rotated subtree.
      {{10, 5, 20, 30, 40}, "10:1 5:0 . . 30:0 20:0 . . 40:0 . . "},
      // ... and the parent's left link.
      {{10, 5, 20, 4, 3}, "10:-1 4:0 3:0 . . 5:0 . . 20:0 . . "},
  };
  for (const Case& c : cases) {
    IntTree t = build(c.keys);
    EXPECT_EQ(t.shape(), c.shape);
    t.checkedHeight();
  }
}

TEST(BST, AscendingInsertionOf1023KeysGivesAPerfectTree) {
  Inspectable<int, unsigned short> t;
  for (int k = 1; k <= 1023; ++k) t.addItem(k, static_cast<unsigned short>(k));
  EXPECT_EQ(t.checkedHeight(), 10);
  EXPECT_EQ(t.count(), 1023u);
  EXPECT_EQ(t.top()->key, 512);
  EXPECT_EQ(t.shape().find(":1 "), std::string::npos);
  EXPECT_EQ(t.shape().find(":-1 "), std::string::npos);
  List<int>& l = t.listItems();
  EXPECT_EQ(l.len(), 1023u);
  std::vector<int> got = items(l);
  for (int k = 1; k <= 1023; ++k) ASSERT_EQ(got[k - 1], k);
}

TEST(BST, RandomInsertionsKeepBalancesExactAndListingSorted) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 20; ++round) {
    IntTree t;
    std::vector<int> keys;
    std::uniform_int_distribution<int> dist(0, round < 10 ? 300 : 100000);
    for (int i = 0; i < 400; ++i) {
      int k = dist(rng);
      bool fresh = std::find(keys.begin(), keys.end(), k) == keys.end();
      ASSERT_EQ(t.addItem(k * 10, k), fresh);
      if (fresh) keys.push_back(k);
      if (i % 50 == 0) t.checkedHeight();
    }
    int h = t.checkedHeight();
    EXPECT_LE(h, 13);  // AVL bound for 400 items
    std::sort(keys.begin(), keys.end());
    std::vector<int> expected;
    for (int k : keys) expected.push_back(k * 10);
    EXPECT_EQ(items(t.listItems()), expected);
    EXPECT_EQ(t.count(), keys.size());
    t.checkedHeight();  // listing must leave every visit state at 0
  }
}

TEST(BST, DuplicateKeyIsRefusedAndFirstItemStays) {
  IntTree t = build({5, 3, 8});
  std::string before = t.shape();
  EXPECT_FALSE(t.addItem(999, 3));
  EXPECT_FALSE(t.addItem(999, 5));
  EXPECT_EQ(*t.findItem(3), 30);
  EXPECT_EQ(*t.findItem(5), 50);
  EXPECT_EQ(t.count(), 3u);
  EXPECT_EQ(t.shape(), before);
}

TEST(BST, FindItemGivesWritableItemOrNull) {
  IntTree empty;
  EXPECT_EQ(empty.findItem(1), nullptr);
  EXPECT_TRUE(empty.isEmpty());
  IntTree t = build({4, 2, 6, 1, 3, 5, 7});
  EXPECT_FALSE(t.isEmpty());
  EXPECT_EQ(t.findItem(0), nullptr);
  EXPECT_EQ(t.findItem(8), nullptr);
  for (int k = 1; k <= 7; ++k) ASSERT_EQ(*t.findItem(k), k * 10);
  *t.findItem(6) = -6;
  EXPECT_EQ(*t.findItem(6), -6);
  EXPECT_EQ(items(t.listItems()), (std::vector<int>{10, 20, 30, 40, 50, -6, 70}));
}

TEST(BST, ListItemsRefillsTheSameList) {
  IntTree t;
  List<int>& first = t.listItems();
  EXPECT_TRUE(first.isEmpty());
  t.addItem(20, 2);
  t.addItem(10, 1);
  List<int>& second = t.listItems();
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(items(second), (std::vector<int>{10, 20}));
  EXPECT_EQ(items(t.listItems()), (std::vector<int>{10, 20}));
}

TEST(BST, KeyRangeEndsAreOrdinaryKeys) {
  Inspectable<int, unsigned short> t;
  t.addItem(1, 65535);
  t.addItem(2, 0);
  t.addItem(3, 32768);
  EXPECT_EQ(*t.findItem(0), 2);
  EXPECT_EQ(*t.findItem(65535), 1);
  EXPECT_EQ(items(t.listItems()), (std::vector<int>{2, 3, 1}));
}

TEST(BST, CopyAndAssignmentKeepShapeWhateverTheTargetWas) {
  IntTree seven = build({4, 2, 6, 1, 3, 5, 7});
  IntTree three = build({10, 20, 30});
  IntTree skewed = build({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});  // different shape, more nodes
  IntTree empty;
  const IntTree* sources[] = {&seven, &three, &skewed, &empty};
  const IntTree* targets[] = {&seven, &three, &skewed, &empty};
  for (const IntTree* src : sources) {
    IntTree copy(*src);
    EXPECT_EQ(copy.shape(), src->shape());
    EXPECT_EQ(copy.count(), src->count());
    for (const IntTree* tgtSrc : targets) {
      IntTree target(*tgtSrc);
      target = *src;
      EXPECT_EQ(target.shape(), src->shape());
      EXPECT_EQ(target.count(), src->count());
      EXPECT_EQ(target.isEmpty(), src->isEmpty());
      IntTree srcCopy(*src);
      EXPECT_EQ(items(target.listItems()), items(srcCopy.listItems()));
      // The copy is independent and still a valid AVL tree when it grows.
      target.addItem(-1, -1000);
      target.checkedHeight();
      EXPECT_EQ(srcCopy.findItem(-1000), nullptr);
    }
  }
}

TEST(BST, AssignmentLeavesItemListAsItWas) {
  IntTree target = build({1, 2});
  List<int>& listed = target.listItems();
  target = build({5, 6, 7});
  EXPECT_EQ(items(listed), (std::vector<int>{10, 20}));
  EXPECT_EQ(&target.listItems(), &listed);
  EXPECT_EQ(items(listed), (std::vector<int>{50, 60, 70}));
}

TEST(BST, SelfAssignmentChangesNothing) {
  IntTree t = build({4, 2, 6, 1});
  std::string before = t.shape();
  IntTree& alias = t;
  t = alias;
  EXPECT_EQ(t.shape(), before);
  EXPECT_EQ(t.count(), 4u);
}

TEST(BST, ItemsOwningMemorySurviveCopyAndReuse) {
  BST<std::string, int> a, b;
  for (int k = 0; k < 30; ++k) a.addItem(std::string(40, static_cast<char>('a' + k % 26)), k);
  for (int k = 0; k < 5; ++k) b.addItem("x", k * 3);
  b = a;
  BST<std::string, int> c(b);
  a = BST<std::string, int>();
  EXPECT_TRUE(a.isEmpty());
  ASSERT_NE(c.findItem(29), nullptr);
  EXPECT_EQ(*c.findItem(29), std::string(40, 'd'));
  EXPECT_EQ(b.listItems().len(), 30u);
}

}  // namespace
