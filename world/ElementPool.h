// Memory of dead elements kept for the next element of the same class: the shots, smoke puffs,
// explosions and shields of steady play are made and unmade without touching the heap. Only the
// classes it has made room for are kept; the rest come from and go back to the heap as usual.
#pragma once

#include "world/Object3D.h"

#include <memory>
#include <new>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

class ElementPool {
public:
    ElementPool() = default;
    ~ElementPool(); // gives the kept memory back to the heap
    ElementPool(const ElementPool&) = delete;
    ElementPool& operator=(const ElementPool&) = delete;

    // A new T, made in the memory of a dead T when one is kept, else in new memory. The memory
    // is the heap's either way, so the element may also be deleted as usual.
    template <typename T, typename... Args> std::unique_ptr<Object3D> make(Args&&... args) {
        std::vector<void*>* kept = binOf(typeid(T));
        if (kept == nullptr || kept->empty()) {
            return std::make_unique<T>(std::forward<Args>(args)...);
        }
        void* block = kept->back();
        kept->pop_back();
        return std::unique_ptr<Object3D>(new (block) T(std::forward<Args>(args)...));
    }

    // Keeps memory for `count` elements of class T from now on, made ready at once: as many as
    // may die before the next are made are kept without the bin growing.
    template <typename T> void reserve(std::size_t count) {
        if (binOf(typeid(T)) == nullptr) {
            bins.push_back({std::type_index(typeid(T)), {}});
        }
        std::vector<void*>& kept = *binOf(typeid(T));
        kept.reserve(kept.size() + count);
        for (std::size_t i = 0; i < count; ++i) {
            kept.push_back(::operator new(sizeof(T)));
        }
    }

    // Ends the element's life (its destructor runs now) and keeps its memory if its class is
    // one kept, else deletes it.
    void recycle(std::unique_ptr<Object3D> element);

    // Memory blocks kept, of all classes.
    std::size_t kept() const;

private:
    struct Bin {
        std::type_index type;
        std::vector<void*> blocks;
    };
    std::vector<void*>* binOf(const std::type_info& type);

    std::vector<Bin> bins;
};
