#include "platform/display/glprogram.h"

#include <SDL.h>

namespace display {

namespace {

// Targets hold their top row first and pixel centres lie on whole
// coordinates, so y is flipped and everything moves half a pixel.
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec4 aPosition;
layout(location = 1) in uvec2 aColors;
layout(location = 2) in vec2 aTexCoord;
uniform int uKind;
uniform mat4 uMatrix;
uniform vec4 uViewport;
uniform vec4 uLitColor;
out vec4 vDiffuse;
flat out vec4 vDiffuseFlat;
out vec4 vSpecular;
flat out vec4 vSpecularFlat;
out vec2 vTexCoord;

vec4 Unpack(uint argb) {
    return vec4(float((argb >> 16) & 255u), float((argb >> 8) & 255u), float(argb & 255u), float(argb >> 24)) / 255.0;
}

void main() {
    vec4 clip;
    if (uKind == 1) {
        float w = aPosition.w > 0.0 ? 1.0 / aPosition.w : 1.0;
        vec2 ndc = vec2((aPosition.x - uViewport.x) / uViewport.z * 2.0 - 1.0,
                        1.0 - (aPosition.y - uViewport.y) / uViewport.w * 2.0);
        clip = vec4(ndc * w, aPosition.z * w, w);
    } else {
        clip = uMatrix * vec4(aPosition.xyz, 1.0);
    }
    clip.z = 2.0 * clip.z - clip.w;
    clip.y = -clip.y;
    clip.xy += clip.w / uViewport.zw;
    gl_Position = clip;
    if (uKind == 2) {
        vDiffuse = uLitColor;
        vSpecular = vec4(0.0);
    } else {
        vDiffuse = Unpack(aColors.x);
        vSpecular = Unpack(aColors.y);
    }
    vDiffuseFlat = vDiffuse;
    vSpecularFlat = vSpecular;
    vTexCoord = aTexCoord;
}
)";

const char* kFragmentShader = R"(#version 330 core
in vec4 vDiffuse;
flat in vec4 vDiffuseFlat;
in vec4 vSpecular;
flat in vec4 vSpecularFlat;
in vec2 vTexCoord;
uniform sampler2D uTexture;
uniform bool uHasTexture;
uniform int uColorArg1;
uniform int uColorArg2;
uniform int uColorOp;
uniform int uAlphaArg1;
uniform int uAlphaArg2;
uniform int uAlphaOp;
uniform vec4 uTextureFactor;
uniform float uAlphaRef;
uniform bool uSpecular;
uniform bool uGouraud;
out vec4 fragColor;

vec4 Arg(int arg, vec4 diffuse, vec4 texel) {
    int source = arg & 15;
    vec4 value = source == 2 ? texel : (source == 3 ? uTextureFactor : diffuse);
    return (arg & 16) != 0 ? vec4(1.0) - value : value;
}

void main() {
    vec4 diffuse = uGouraud ? vDiffuse : vDiffuseFlat;
    vec4 texel = uHasTexture ? texture(uTexture, vTexCoord) : vec4(1.0);
    vec3 color = Arg(uColorArg1, diffuse, texel).rgb;
    if (uColorOp == 0) color *= Arg(uColorArg2, diffuse, texel).rgb;
    float alpha = Arg(uAlphaArg1, diffuse, texel).a;
    if (uAlphaOp == 0) alpha *= Arg(uAlphaArg2, diffuse, texel).a;
    if (uSpecular) color = min(color + (uGouraud ? vSpecular : vSpecularFlat).rgb, vec3(1.0));
    if (floor(alpha * 255.0 + 0.5) < uAlphaRef) discard;
    fragColor = vec4(color, alpha);
}
)";

const char* kUniformNames[] = {"uKind", "uMatrix", "uViewport", "uLitColor", "uHasTexture", "uColorArg1",
                               "uColorArg2", "uColorOp", "uAlphaArg1", "uAlphaArg2", "uAlphaOp",
                               "uTextureFactor", "uAlphaRef", "uSpecular", "uGouraud"};

GLuint Compile(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        SDL_LogError(SDL_LOG_CATEGORY_RENDER, "GlProgram: shader does not compile: %s", log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

void SetColor(GLint location, uint32_t argb) {
    glUniform4f(location, ((argb >> 16) & 255) / 255.0f, ((argb >> 8) & 255) / 255.0f, (argb & 255) / 255.0f,
                (argb >> 24) / 255.0f);
}

}  // namespace

void GlProgram::Release() {
    glDeleteProgram(mProgram);
    mProgram = 0;
}

bool GlProgram::Build() {
    GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!vertex || !fragment) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return false;
    }
    mProgram = glCreateProgram();
    glAttachShader(mProgram, vertex);
    glAttachShader(mProgram, fragment);
    glLinkProgram(mProgram);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = 0;
    glGetProgramiv(mProgram, GL_LINK_STATUS, &ok);
    if (!ok) {
        SDL_LogError(SDL_LOG_CATEGORY_RENDER, "GlProgram: shaders do not link");
        glDeleteProgram(mProgram);
        mProgram = 0;
        return false;
    }
    for (int i = 0; i < kUniformCount; ++i) mUniforms[i] = glGetUniformLocation(mProgram, kUniformNames[i]);
    return true;
}

void GlProgram::Use() const {
    glUseProgram(mProgram);
}

void GlProgram::Apply(const Inputs& inputs) const {
    const DrawStates& states = *inputs.states;
    glUniform1i(mUniforms[kKind], static_cast<int>(inputs.kind));
    glUniformMatrix4fv(mUniforms[kMatrix], 1, GL_FALSE, inputs.matrix.m);
    glUniform4f(mUniforms[kViewport], static_cast<float>(inputs.viewport.x), static_cast<float>(inputs.viewport.y),
                static_cast<float>(inputs.viewport.width), static_cast<float>(inputs.viewport.height));
    glUniform4fv(mUniforms[kLitColor], 1, inputs.litColor);
    glUniform1i(mUniforms[kHasTexture], inputs.hasTexture);
    glUniform1i(mUniforms[kColorArg1], static_cast<int>(states.stage.colorArg1));
    glUniform1i(mUniforms[kColorArg2], static_cast<int>(states.stage.colorArg2));
    glUniform1i(mUniforms[kColorOp], static_cast<int>(states.stage.colorOp));
    glUniform1i(mUniforms[kAlphaArg1], static_cast<int>(states.stage.alphaArg1));
    glUniform1i(mUniforms[kAlphaArg2], static_cast<int>(states.stage.alphaArg2));
    glUniform1i(mUniforms[kAlphaOp], static_cast<int>(states.stage.alphaOp));
    SetColor(mUniforms[kTextureFactor], states.textureFactor);
    glUniform1f(mUniforms[kAlphaRef], states.alphaTestEnable ? static_cast<float>(states.alphaRef) : -1.0f);
    glUniform1i(mUniforms[kSpecular], states.specularEnable);
    glUniform1i(mUniforms[kGouraud], states.gouraud);
}

}  // namespace display
