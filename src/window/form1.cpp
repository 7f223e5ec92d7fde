#include "window/form1.h"

#include <algorithm>
#include <utility>
#include <stdexcept>

bool ImageStore::Holds(std::string_view image) const {
    return std::find(images.begin(), images.end(), image) != images.end();
}

int Form1::Add(Control control) {
    const int index = Count();
    byName_.emplace(control.name, index);
    controls_.push_back(std::move(control));
    isChanged_.push_back(false);
    return index;
}

int Form1::IndexOf(std::string_view name) const {
    const auto found = byName_.find(std::string(name));
    return found == byName_.end() ? -1 : found->second;
}

const Control& Form1::Get(std::string_view name) const {
    const int index = IndexOf(name);
    if (index < 0) throw std::out_of_range("no control " + std::string(name));
    return controls_[index];
}

Control& Form1::Mutable(std::string_view name) {
    const int index = IndexOf(name);
    if (index < 0) throw std::out_of_range("no control " + std::string(name));
    Touch(index);
    return controls_[index];
}

void Form1::Touch(int index) {
    if (!isChanged_[index]) {
        isChanged_[index] = true;
        changed_.push_back(index);
    }
}

void Form1::SetVisible(std::string_view name, bool visible) { Mutable(name).visible = visible; }
void Form1::SetEnabled(std::string_view name, bool enabled) { Mutable(name).enabled = enabled; }
void Form1::SetCaption(std::string_view name, std::string caption) {
    Mutable(name).caption = std::move(caption);
}
void Form1::SetPosition(std::string_view name, Point topLeft) {
    Control& control = Mutable(name);
    control.rect.left = topLeft.x;
    control.rect.top = topLeft.y;
}

void Form1::SetPressed(std::string_view name, bool pressed) { Mutable(name).pressed = pressed; }

void Form1::SetWidth(int index, int width) {
    Touch(index);
    controls_[index].rect.width = width;
}

void Form1::SetImage(std::string_view name, std::string_view holder) {
    if (!Has(holder)) {
        if (!imageStore.Holds(holder)) throw std::out_of_range("no image " + std::string(holder));
        imageStore.opened = true;
    }
    Mutable(name).image = std::string(holder);
}

bool Form1::IsShown(int index) const {
    for (int i = index; i != kNoParent; i = controls_[i].parent) {
        if (!controls_[i].visible) return false;
    }
    return true;
}

std::vector<int> Form1::TakeChanges() {
    for (int index : changed_) isChanged_[index] = false;
    return std::exchange(changed_, {});
}
