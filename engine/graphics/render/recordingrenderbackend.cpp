#include "graphics/render/recordingrenderbackend.h"

TRecordingRenderBackEnd::TRecordingRenderBackEnd(const TRect& screen)
    : mScreen(screen), mViewport(screen), mViewRect(screen) {}

bool TRecordingRenderBackEnd::BeginDraw(bool checkContext) {
    Record(kBeginDraw).value = checkContext;
    return mResults.beginDraw;
}

void TRecordingRenderBackEnd::EndDraw(bool present) {
    Record(kEndDraw).value = present;
}

bool TRecordingRenderBackEnd::BeginRenderTarget(const std::shared_ptr<TTexture>& texture, int mode) {
    TCall& call = Record(kBeginRenderTarget);
    call.texture = texture.get();
    call.value = mode;
    return mResults.beginRenderTarget;
}

void TRecordingRenderBackEnd::EndRenderTarget() {
    Record(kEndRenderTarget);
}

bool TRecordingRenderBackEnd::Begin2d() {
    Record(kBegin2d);
    return mResults.begin2d;
}

void TRecordingRenderBackEnd::End2d() {
    Record(kEnd2d);
}

bool TRecordingRenderBackEnd::Begin3d() {
    Record(kBegin3d);
    return mResults.begin3d;
}

void TRecordingRenderBackEnd::End3d() {
    Record(kEnd3d);
}

void TRecordingRenderBackEnd::DrawVertices(int primitiveType, const TVertexSet& vertices) {
    RecordDraw(kDrawVertices, primitiveType, vertices);
}

void TRecordingRenderBackEnd::DrawIndexedVertices(int primitiveType, const TVertexSet& vertices,
                                                  const uint16_t* indices, int indexCount) {
    TCall& call = RecordDraw(kDrawIndexedVertices, primitiveType, vertices);
    if (indices && indexCount > 0) call.indices.assign(indices, indices + indexCount);
}

bool TRecordingRenderBackEnd::FillRect(const TRect& rect, const TColor4f& color,
                                       const std::shared_ptr<TTexture>& target) {
    TCall& call = Record(kFillRect);
    call.rect = rect;
    call.color = color;
    call.texture = target.get();
    return mResults.fillRect;
}

void TRecordingRenderBackEnd::SetTexture(const std::shared_ptr<TTexture>& texture) {
    Record(kSetTexture).texture = texture.get();
}

void TRecordingRenderBackEnd::SetBlendMode(int mode) {
    Record(kSetBlendMode).value = mode;
}

void TRecordingRenderBackEnd::SetCullMode(int kind) {
    Record(kSetCullMode).value = kind;
}

void TRecordingRenderBackEnd::SetFilterMode(int mode) {
    Record(kSetFilterMode).value = mode;
}

void TRecordingRenderBackEnd::OnRenderHint(const TString& key, const TString& value) {
    TCall& call = Record(kRenderHint);
    call.key = key;
    call.text = value;
}

void TRecordingRenderBackEnd::PushViewport(const TRect& rect) {
    Record(kPushViewport).rect = rect;
    mSavedViewports.push_back(mViewport);
    mViewport = rect;
}

void TRecordingRenderBackEnd::PopViewport() {
    Record(kPopViewport);
    if (mSavedViewports.empty()) return;
    mViewport = mSavedViewports.back();
    mSavedViewports.pop_back();
}

void TRecordingRenderBackEnd::SetViewRect(const TRect& rect) {
    Record(kSetViewRect).rect = rect;
    mViewRect = rect;
}

std::vector<TRecordingRenderBackEnd::TCallKind> TRecordingRenderBackEnd::GetCallKinds() const {
    std::vector<TCallKind> kinds;
    for (const TCall& call : mCalls) kinds.push_back(call.kind);
    return kinds;
}

TRecordingRenderBackEnd::TCall& TRecordingRenderBackEnd::Record(TCallKind kind) {
    return mCalls.emplace_back(kind);
}

TRecordingRenderBackEnd::TCall& TRecordingRenderBackEnd::RecordDraw(TCallKind kind, int primitiveType,
                                                                    const TVertexSet& vertices) {
    TCall& call = Record(kind);
    call.value = primitiveType;
    call.vertexKind = vertices.GetKind();
    const TRenderVertex* first = vertices.GetVertices();
    if (first && vertices.GetCount() > 0) call.vertices.assign(first, first + vertices.GetCount());
    return call;
}
