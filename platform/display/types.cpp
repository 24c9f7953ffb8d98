#include "platform/display/types.h"

namespace display {

uint32_t ResultCode(Result result) {
    switch (result) {
        case Result::Ok: return 0;
        case Result::Failed: return 0x80004005;
        case Result::InvalidArgument: return 0x80070057;
        case Result::NoObject: return 0x80004003;
        case Result::OutOfVideoMemory: return 0x8876017C;
        case Result::SurfaceLost: return 0x887601C2;
        case Result::StillDrawing: return 0x8876021C;
        case Result::WrongMode: return 0x8876024B;
        case Result::NoExclusiveMode: return 0x887600E1;
        case Result::ExclusiveModeAlreadySet: return 0x88760245;
        case Result::UnsupportedMode: return 0x8876024E;
        case Result::CurrentlyNotAvailable: return 0x88760028;
        case Result::SceneEndFailed: return 0x887602FB;
    }
    return 0x80004005;
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[row * 4 + k] * b.m[k * 4 + column];
            product.m[row * 4 + column] = sum;
        }
    }
    return product;
}

}  // namespace display
