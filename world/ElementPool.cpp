// The element pool: one bin of kept memory per element class.
#include "world/ElementPool.h"

ElementPool::~ElementPool() {
    for (Bin& bin : bins) {
        for (void* block : bin.blocks) {
            ::operator delete(block);
        }
    }
}

void ElementPool::recycle(std::unique_ptr<Object3D> element) {
    if (!element) {
        return;
    }
    std::vector<void*>* kept = binOf(typeid(*element));
    if (kept == nullptr) {
        return; // deleted as it goes
    }
    Object3D* dead = element.release();
    // The whole object's memory starts where the most derived class's object does.
    void* block = dynamic_cast<void*>(dead);
    dead->~Object3D();
    kept->push_back(block);
}

std::size_t ElementPool::kept() const {
    std::size_t count = 0;
    for (const Bin& bin : bins) {
        count += bin.blocks.size();
    }
    return count;
}

std::vector<void*>* ElementPool::binOf(const std::type_info& type) {
    for (Bin& bin : bins) {
        if (bin.type == type) {
            return &bin.blocks;
        }
    }
    return nullptr;
}
