// The raw tallies of a run: deposited energy by component and folded cell,
// and the air-kerma reference sum.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tsl2 {

// Allocates the tally on 2 MB boundaries and asks for huge pages: deposits
// land all over 12.8 MB, and with 4 kB pages nearly every one would also miss
// the address translation cache.
template <class T>
struct HugePageAllocator {
  using value_type = T;
  static constexpr std::size_t HUGE_PAGE = std::size_t{2} << 20;

  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = (n * sizeof(T) + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    void* p = std::aligned_alloc(HUGE_PAGE, bytes);
    if (p == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the tally still works
#endif
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) { std::free(p); }
  template <class U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }
};

inline constexpr int CELLS_X = 200;  // 1 mm
inline constexpr int CELLS_Y = 40;   // 5 mm
inline constexpr int CELLS_Z = 100;  // 1 mm

struct DoseTally {
  // Summed in double: every history of a bin adds the same amount to the
  // reference, so single-precision sums drift instead of averaging out.
  // Component fastest, then CellX, CellY, CellZ; indices from 1.
  std::vector<double, HugePageAllocator<double>> values =
      std::vector<double, HugePageAllocator<double>>(2 * CELLS_X * CELLS_Y * CELLS_Z, 0.0);
  double AirKermaReference = 0.0;

  static std::size_t Index(int component, int cellX, int cellY, int cellZ) {
    return static_cast<std::size_t>(component - 1) +
           2 * (static_cast<std::size_t>(cellX - 1) +
                CELLS_X * (static_cast<std::size_t>(cellY - 1) +
                           CELLS_Y * static_cast<std::size_t>(cellZ - 1)));
  }
  double& at(int component, int cellX, int cellY, int cellZ) {
    return values[Index(component, cellX, cellY, cellZ)];
  }
};

}  // namespace tsl2
