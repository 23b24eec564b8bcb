// The nodes of the map's scene graph: each has a transform and owns its
// children. Three passes walk the tree: Init (GL state once the context
// exists), Compile (display lists) and Draw (each frame).
#pragma once

#include "kartix/map_math.h"

class CGLObject {
public:
    CGLObject() = default;
    virtual ~CGLObject() { DeleteChildren(); }
    CGLObject(const CGLObject&) = delete;
    CGLObject& operator=(const CGLObject&) = delete;

    virtual void Init();
    virtual void Compile();
    virtual void Draw();

    // Takes ownership; a null child is ignored.
    void AddChild(CGLObject* child);
    // Deletes the children from the last to the first.
    void DeleteChildren();
    // Unlinks a child without deleting it; false when it is not a child.
    bool DetachChild(CGLObject* child);
    int GetChildCount() const { return count_; }
    CGLObject* GetChild(int index) const;
    CGLObject* parent() const { return parent_; }

    // glTranslatef, then glRotated about X, Y and Z (angles of 1e-6 degrees
    // or less skipped).
    void ApplyTransform() const;
    // The same transform on the CPU: translation x rotX x rotY x rotZ, each
    // part only when asked; the affine part is applied to x, y, z.
    void TransformPoint(Vector4& point, bool withTranslation, bool withRotation) const;
    void TransformMatrix(Matrix4& m, bool withTranslation, bool withRotation) const;

    float x = 0.0f, y = 0.0f, z = 0.0f;
    double rotX = 0.0, rotY = 0.0, rotZ = 0.0;  // degrees

protected:
    void InitChildren();
    void CompileChildren();
    void DrawChildren();

private:
    static constexpr int kGrowBy = 16;
    CGLObject** children_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    CGLObject* parent_ = nullptr;
};

// Angles this small are not worth a rotation.
inline bool AngleMatters(double degrees) { return degrees > 1e-6 || degrees < -1e-6; }

// A node whose transform stays inside it.
class CGLGroup : public CGLObject {
public:
    ~CGLGroup() override = default;
    void Draw() override;
};
