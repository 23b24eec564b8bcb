#include "kartix/gl_object.h"

#include <windows.h>

#include <GL/gl.h>

#include <cstdlib>
#include <new>

void CGLObject::AddChild(CGLObject* child) {
    if (!child) return;
    if (count_ == capacity_) {
        const int capacity = capacity_ + kGrowBy;
        auto* grown = static_cast<CGLObject**>(std::realloc(children_, sizeof(CGLObject*) * capacity));
        if (!grown) {
            // The child was handed over: it must not leak.
            delete child;
            throw std::bad_alloc();
        }
        children_ = grown;
        capacity_ = capacity;
    }
    children_[count_++] = child;
    child->parent_ = this;
}

void CGLObject::DeleteChildren() {
    while (count_ > 0) {
        CGLObject* child = children_[--count_];
        delete child;
    }
    std::free(children_);
    children_ = nullptr;
    capacity_ = 0;
}

bool CGLObject::DetachChild(CGLObject* child) {
    for (int i = 0; i < count_; ++i) {
        if (children_[i] != child) continue;
        for (int j = i + 1; j < count_; ++j) children_[j - 1] = children_[j];
        --count_;
        child->parent_ = nullptr;
        return true;
    }
    return false;
}

CGLObject* CGLObject::GetChild(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    return children_[index];
}

void CGLObject::ApplyTransform() const {
    glTranslatef(x, y, z);
    if (AngleMatters(rotX)) glRotated(rotX, 1.0, 0.0, 0.0);
    if (AngleMatters(rotY)) glRotated(rotY, 0.0, 1.0, 0.0);
    if (AngleMatters(rotZ)) glRotated(rotZ, 0.0, 0.0, 1.0);
}

void CGLObject::TransformMatrix(Matrix4& m, bool withTranslation, bool withRotation) const {
    Matrix4Identity(m);
    if (withTranslation) Matrix4SetTranslation(m, x, y, z);
    if (withRotation) {
        if (AngleMatters(rotX)) Matrix4RotateX(m, DegreesToRadians(rotX));
        if (AngleMatters(rotY)) Matrix4RotateY(m, DegreesToRadians(rotY));
        if (AngleMatters(rotZ)) Matrix4RotateZ(m, DegreesToRadians(rotZ));
    }
}

void CGLObject::TransformPoint(Vector4& point, bool withTranslation, bool withRotation) const {
    Matrix4 m;
    TransformMatrix(m, withTranslation, withRotation);
    Matrix4TransformPoints(&point, 1, m);
}

void CGLObject::InitChildren() {
    for (int i = 0; i < count_; ++i) children_[i]->Init();
}

void CGLObject::CompileChildren() {
    for (int i = 0; i < count_; ++i) children_[i]->Compile();
}

void CGLObject::DrawChildren() {
    for (int i = 0; i < count_; ++i) children_[i]->Draw();
}

void CGLObject::Init() { InitChildren(); }

void CGLObject::Compile() { CompileChildren(); }

void CGLObject::Draw() {
    ApplyTransform();
    DrawChildren();
}

void CGLGroup::Draw() {
    glPushMatrix();
    CGLObject::Draw();
    glPopMatrix();
}
