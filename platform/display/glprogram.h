// The one shader program of the GL device: vertex kinds, the texture stage,
// specular, flat shading and the alpha test are chosen by uniforms.
#pragma once

#include <epoxy/gl.h>

#include "platform/display/types.h"

namespace display {

class GlProgram {
public:
    // Compiles and links; false (with a log line) on failure.
    bool Build();
    // Deletes the program; the context must still be current.
    void Release();
    void Use() const;

    // Uniforms of one draw call.
    struct Inputs {
        VertexKind kind = VertexKind::Transformed;
        Matrix matrix;  // world x view x projection
        Viewport viewport;
        float litColor[4] = {0, 0, 0, 1};
        bool hasTexture = false;
        const DrawStates* states = nullptr;
    };
    void Apply(const Inputs& inputs) const;

private:
    enum Uniform {
        kKind, kMatrix, kViewport, kLitColor, kHasTexture, kColorArg1, kColorArg2, kColorOp, kAlphaArg1,
        kAlphaArg2, kAlphaOp, kTextureFactor, kAlphaRef, kSpecular, kGouraud, kUniformCount
    };
    GLuint mProgram = 0;
    GLint mUniforms[kUniformCount] = {};
};

}  // namespace display
