// A doubly linked list with a built-in cursor, which doubles as a stack (push/pop at the head)
// and a queue (enqueue at the tail, dequeue at the head). Every sequence of the program lives in
// one: AS paths, source-file names, the search tree's walks and the graph's listings.
#ifndef ZELGRIN_CONTAINERS_LIST_H
#define ZELGRIN_CONTAINERS_LIST_H

#include <cstdint>

template <class T>
class List {
 public:
  struct ListElement {
    T value;
    ListElement* prevElement;
    ListElement* nextElement;
    ListElement() : value(), prevElement(nullptr), nextElement(nullptr) {}
  };

  // An empty list.
  List()
      : firstElement(nullptr),
        cursor(nullptr),
        lastElement(nullptr),
        spareElements(nullptr),
        length(0) {}

  // The same values in the same order, with the cursor at the same position as in `other`.
  List(const List& other) : List() {
    for (const ListElement* e = other.firstElement; e != nullptr; e = e->nextElement) {
      enqueue(e->value);
      if (e == other.cursor) cursor = lastElement;
    }
  }

  // Frees every element; what pointer values point to is left alone.
  ~List() {
    freeFrom(firstElement);
    freeFrom(spareElements);
  }

  // Makes this list a copy of `other`, cursor included, reusing the elements it already has.
  List& operator=(const List& other) {
    if (this == &other) return *this;
    bool cursorPlaced = false;
    ListElement* mine = firstElement;
    ListElement* lastPaired = nullptr;
    const ListElement* theirs = other.firstElement;
    for (; mine != nullptr && theirs != nullptr;
         mine = mine->nextElement, theirs = theirs->nextElement) {
      mine->value = theirs->value;
      if (theirs == other.cursor) {
        cursor = mine;
        cursorPlaced = true;
      }
      lastPaired = mine;
    }
    if (mine != nullptr) {  // this list was longer: cut off the rest
      if (lastPaired != nullptr) {
        lastPaired->nextElement = nullptr;
      } else {
        firstElement = nullptr;
      }
      lastElement = lastPaired;
      if (!cursorPlaced) cursor = firstElement;
      freeFrom(mine);
    }
    // enqueue keeps a running count, so set the final length only after the appends.
    for (; theirs != nullptr; theirs = theirs->nextElement) {
      enqueue(theirs->value);
      if (theirs == other.cursor) cursor = lastElement;
    }
    length = other.length;
    return *this;
  }

  // True when the list holds no element.
  bool isEmpty() const { return cursor == nullptr; }

  // The number of elements.
  std::uint64_t len() const { return length; }

  // A copy of the head value, or a default value on an empty list. The cursor does not move.
  T first() const { return firstElement != nullptr ? firstElement->value : T(); }

  // Puts the cursor on the head (null on an empty list).
  void goToFirst() { cursor = firstElement; }

  // Moves the cursor one element on and returns true; false and no move at the tail or when empty.
  bool next() {
    if (cursor == nullptr || cursor->nextElement == nullptr) return false;
    cursor = cursor->nextElement;
    return true;
  }

  // A copy of the value under the cursor, or a default value on an empty list.
  T current() const { return cursor != nullptr ? cursor->value : T(); }

  // Inserts a copy of `value` before the head. The cursor moves only when the list was empty.
  void push(const T& value) {
    ListElement* e = makeElement(value);
    e->nextElement = firstElement;
    if (firstElement != nullptr) {
      firstElement->prevElement = e;
    } else {
      lastElement = e;
      cursor = e;
    }
    firstElement = e;
    ++length;
  }

  // Removes the head and returns its value (a default value on an empty list). A cursor on the
  // head moves to the new head.
  T pop() {
    if (firstElement == nullptr) return T();
    ListElement* head = firstElement;
    T value = head->value;
    if (cursor == head) cursor = head->nextElement;
    firstElement = head->nextElement;
    if (firstElement != nullptr) {
      firstElement->prevElement = nullptr;
    } else {
      lastElement = nullptr;
    }
    --length;
    delete head;
    return value;
  }

  // Inserts a copy of `value` after the tail. The cursor moves only when the list was empty.
  void enqueue(const T& value) {
    ListElement* e = makeElement(value);
    e->prevElement = lastElement;
    if (lastElement != nullptr) {
      lastElement->nextElement = e;
    } else {
      firstElement = e;
      cursor = e;
    }
    lastElement = e;
    ++length;
  }

  // Same as pop(): removes the head and returns its value.
  T dequeue() { return pop(); }

  // Empties the list but keeps its elements for the values added next, so that a list refilled
  // over and over (a parser's path, line after line) allocates only when it grows longer than
  // ever before. The values stay in the kept elements until overwritten.
  void clear() {
    if (lastElement != nullptr) {
      lastElement->nextElement = spareElements;
      spareElements = firstElement;
    }
    firstElement = nullptr;
    cursor = nullptr;
    lastElement = nullptr;
    length = 0;
  }

 private:
  // A kept element when there is one, else a new one. The element is complete before anything
  // links to it, so a failing copy leaves the list as it was.
  ListElement* makeElement(const T& value) {
    ListElement* e = spareElements;
    if (e == nullptr) {
      e = new ListElement();
      e->value = value;
      return e;
    }
    e->value = value;
    spareElements = e->nextElement;
    e->prevElement = nullptr;
    e->nextElement = nullptr;
    return e;
  }

  static void freeFrom(ListElement* e) {
    while (e != nullptr) {
      ListElement* following = e->nextElement;
      delete e;
      e = following;
    }
  }

  ListElement* firstElement;
  ListElement* cursor;
  ListElement* lastElement;
  ListElement* spareElements;  // emptied by clear(), singly linked through nextElement
  std::uint64_t length;
};

#endif  // ZELGRIN_CONTAINERS_LIST_H
