// A height-balanced (AVL) binary search tree holding one item under each distinct key. It finds
// the nodes of a graph whose keys are not integers, and the intervals of an address set. Items
// can be added, found and listed in key order, never removed. Every walk uses an explicit stack
// or queue, never recursion, so deep trees cannot exhaust the call stack.
// Keys need only `==` and `>`; a key k goes left of a node whose key is greater than k.
#ifndef ZELGRIN_CONTAINERS_BST_H
#define ZELGRIN_CONTAINERS_BST_H

#include <cstdint>

#include "containers/list.h"

template <class T, class K>
class BST {
  // An AVL tree of even 2^64 items is less than 96 levels deep, so fixed stacks of this many
  // entries hold every walk from the root.
  static constexpr int kMaxDepth = 96;

 public:
  struct TreeNode {
    T item;
    K key;
    TreeNode* leftChild;
    TreeNode* rightChild;
    std::int8_t balance;      // right height minus left height
    std::uint8_t visitState;  // used by listItems only
    TreeNode()
        : item(), key(), leftChild(nullptr), rightChild(nullptr), balance(0), visitState(0) {}
  };

  // An empty tree.
  BST() : root(nullptr), itemCount(0) {}

  // A copy of `other` with the same shape and balances; the item list starts empty.
  BST(const BST& other) : BST() { *this = other; }

  // Frees every node; pointee items are left alone.
  ~BST() { deleteSubTree(root); }

  // Makes this tree a copy of `other` with the same shape, reusing the nodes it has where both
  // trees have a node at the same position. The item list is left as it was.
  BST& operator=(const BST& other) {
    if (this == &other) return *this;
    itemCount = other.itemCount;
    if (other.root == nullptr) {
      deleteSubTree(root);
      root = nullptr;
      return *this;
    }
    if (root == nullptr) root = new TreeNode();
    List<const TreeNode*> sources;
    List<TreeNode*> targets;
    sources.enqueue(other.root);
    targets.enqueue(root);
    while (!sources.isEmpty()) {
      const TreeNode* s = sources.dequeue();
      TreeNode* d = targets.dequeue();
      d->item = s->item;
      d->key = s->key;
      d->balance = s->balance;
      copySide(s->leftChild, d->leftChild, sources, targets);
      copySide(s->rightChild, d->rightChild, sources, targets);
    }
    return *this;
  }

  // True when the tree holds no item.
  bool isEmpty() const { return root == nullptr; }

  // Stores a copy of `item` under `key` and returns true; returns false and changes nothing when
  // the key is already present (the caller keeps its item).
  bool addItem(const T& item, const K& key) {
    if (root == nullptr) {
      root = makeNode(item, key);
      ++itemCount;
      return true;
    }
    TreeNode* path[kMaxDepth];
    int depth = 0;
    TreeNode* n = root;
    for (;;) {
      if (n->key == key) return false;
      path[depth++] = n;
      TreeNode*& child = n->key > key ? n->leftChild : n->rightChild;
      if (child == nullptr) {
        child = makeNode(item, key);
        break;
      }
      n = child;
    }
    ++itemCount;

    // Walk back up. Once a subtree stops growing nothing above it changes, so the walk stops there.
    bool grown = true;
    while (grown && depth > 0) {
      n = path[--depth];
      TreeNode* parent = depth > 0 ? path[depth - 1] : nullptr;
      bool isLeft = parent != nullptr && parent->key > n->key;
      if (n->key > key) {
        if (n->balance == 1) grown = false;
        --n->balance;
      } else {
        if (n->balance == -1) grown = false;
        ++n->balance;
      }
      if (n->balance < -1) {
        if (n->leftChild->balance > 0) {
          rotateLR(n, parent, isLeft);
          grown = false;
        } else {
          if (n->leftChild->balance < 0) grown = false;
          rotateLL(n, parent, isLeft);
        }
      }
      if (n->balance > 1) {
        if (n->rightChild->balance < 0) {
          rotateRL(n, parent, isLeft);
          grown = false;
        } else {
          if (n->rightChild->balance > 0) grown = false;
          rotateRR(n, parent, isLeft);
        }
      }
    }
    return true;
  }

  // The item stored under `key`, which the caller may change in place, or null when absent.
  T* findItem(const K& key) {
    TreeNode* n = root;
    while (n != nullptr) {
      if (n->key == key) return &n->item;
      n = n->key > key ? n->leftChild : n->rightChild;
    }
    return nullptr;
  }
  const T* findItem(const K& key) const { return const_cast<BST*>(this)->findItem(key); }

  // Calls visit(item) for every item in ascending key order, without allocating: a fixed stack
  // holds the walk.
  template <typename Visit>
  void forEach(Visit visit) const {
    const TreeNode* stack[kMaxDepth];
    int depth = 0;
    const TreeNode* n = root;
    while (n != nullptr || depth > 0) {
      while (n != nullptr) {
        stack[depth++] = n;
        n = n->leftChild;
      }
      n = stack[--depth];
      visit(n->item);
      n = n->rightChild;
    }
  }

  // The tree's own list, refilled with copies of all items in ascending key order. The same list
  // object comes back on every call and is overwritten by the next one.
  List<T>& listItems() {
    itemList = List<T>();
    if (root == nullptr) return itemList;
    List<TreeNode*> stack;
    root->visitState = 0;
    stack.push(root);
    while (!stack.isEmpty()) {
      TreeNode* n = stack.pop();
      switch (n->visitState) {
        case 0:
          n->visitState = 1;
          stack.push(n);
          if (n->leftChild != nullptr) {
            n->leftChild->visitState = 0;
            stack.push(n->leftChild);
          }
          break;
        case 1:
          n->visitState = 2;
          stack.push(n);
          itemList.enqueue(n->item);
          break;
        default:
          n->visitState = 0;
          if (n->rightChild != nullptr) {
            n->rightChild->visitState = 0;
            stack.push(n->rightChild);
          }
          break;
      }
    }
    return itemList;
  }

 protected:
  // Frees `n` and everything below it without allocating, so that freeing never runs out of
  // memory: a node with a left child is rotated right until the leftmost node can go. Neither
  // `root` nor `itemCount` changes: the caller resets the link it cut.
  static void deleteSubTree(TreeNode* n) {
    while (n != nullptr) {
      TreeNode* left = n->leftChild;
      if (left != nullptr) {
        n->leftChild = left->rightChild;
        left->rightChild = n;
        n = left;
      } else {
        TreeNode* right = n->rightChild;
        delete n;
        n = right;
      }
    }
  }

  // The four rebalancing rotations. `n` is the unbalanced node; the root of the rotated subtree
  // goes to `parent`'s left link when `isLeft`, its right link otherwise, or to `root` when
  // `parent` is null.
  void rotateLL(TreeNode* n, TreeNode* parent, bool isLeft) {
    TreeNode* l = n->leftChild;
    n->leftChild = l->rightChild;
    hang(l, parent, isLeft);
    l->rightChild = n;
    n->balance = static_cast<std::int8_t>(-1 - l->balance);
    ++l->balance;
  }

  void rotateRR(TreeNode* n, TreeNode* parent, bool isLeft) {
    TreeNode* r = n->rightChild;
    n->rightChild = r->leftChild;
    hang(r, parent, isLeft);
    r->leftChild = n;
    n->balance = static_cast<std::int8_t>(1 - r->balance);
    --r->balance;
  }

  void rotateLR(TreeNode* n, TreeNode* parent, bool isLeft) {
    TreeNode* l = n->leftChild;
    TreeNode* g = l->rightChild;
    n->leftChild = g->rightChild;
    l->rightChild = g->leftChild;
    g->leftChild = l;
    g->rightChild = n;
    hang(g, parent, isLeft);
    n->balance = g->balance == -1 ? 1 : 0;
    l->balance = g->balance == 1 ? -1 : 0;
    g->balance = 0;
  }

  void rotateRL(TreeNode* n, TreeNode* parent, bool isLeft) {
    TreeNode* r = n->rightChild;
    TreeNode* g = r->leftChild;
    n->rightChild = g->leftChild;
    r->leftChild = g->rightChild;
    g->rightChild = r;
    g->leftChild = n;
    hang(g, parent, isLeft);
    n->balance = g->balance == 1 ? -1 : 0;
    r->balance = g->balance == -1 ? 1 : 0;
    g->balance = 0;
  }

  TreeNode* root;
  std::uint64_t itemCount;
  List<T> itemList;

 private:
  static TreeNode* makeNode(const T& item, const K& key) {
    TreeNode* n = new TreeNode();
    n->item = item;
    n->key = key;
    return n;
  }

  void hang(TreeNode* x, TreeNode* parent, bool isLeft) {
    if (parent == nullptr) {
      root = x;
    } else if (isLeft) {
      parent->leftChild = x;
    } else {
      parent->rightChild = x;
    }
  }

  // One side of an assignment step: mirror the source child's presence in the target.
  static void copySide(const TreeNode* s, TreeNode*& d, List<const TreeNode*>& sources,
                       List<TreeNode*>& targets) {
    if (s != nullptr) {
      if (d == nullptr) d = new TreeNode();
      sources.enqueue(s);
      targets.enqueue(d);
    } else {
      deleteSubTree(d);
      d = nullptr;
    }
  }
};

#endif  // ZELGRIN_CONTAINERS_BST_H
