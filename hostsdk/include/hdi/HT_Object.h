#pragma once
// The host's object model: every host object derives from HT_Object; shared objects are counted
// (HT_Counted) and held through SPMP, the host pool's reference-counting pointer.
#include <atomic>
#include <cstdint>
#include <utility>

class HT_Object {
  public:
    virtual ~HT_Object() = default;
};

class HT_Counted : public HT_Object {
  public:
    HT_Counted() = default;
    HT_Counted(const HT_Counted&) : m_refs(0) {}
    HT_Counted& operator=(const HT_Counted&) { return *this; }

    void add_ref() const { m_refs.fetch_add(1, std::memory_order_relaxed); }
    // Deletes the object when the last reference goes.
    void release() const {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    long ref_count() const { return m_refs.load(std::memory_order_relaxed); }

  private:
    mutable std::atomic<long> m_refs{0};
};

// Reference-counting pointer of the host's shared memory pool. Adopting a raw pointer adds a
// reference; the object dies with its last SPMP (or explicit release).
template <class T>
class SPMP {
  public:
    SPMP() = default;
    SPMP(T* p) : m_p(p) {
        if (m_p) m_p->add_ref();
    }  // NOLINT(google-explicit-constructor)
    SPMP(const SPMP& o) : SPMP(o.m_p) {}
    SPMP(SPMP&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    template <class U>
    SPMP(const SPMP<U>& o) : SPMP(o.get()) {}  // NOLINT(google-explicit-constructor)
    ~SPMP() {
        if (m_p) m_p->release();
    }
    SPMP& operator=(SPMP o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void reset() { SPMP().swap(*this); }
    void swap(SPMP& o) noexcept { std::swap(m_p, o.m_p); }

  private:
    T* m_p = nullptr;
};
