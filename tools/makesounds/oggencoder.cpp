#include "tools/makesounds/oggencoder.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace makesounds {

namespace {

const int kSerialNumber = 0x766d;
const size_t kChunkFrames = 1024;

// The encoder's state for one file, released in reverse order of set-up.
class Encoder {
public:
    Encoder(int channels, int sampleRate, float quality) {
        vorbis_info_init(&mInfo);
        mReady = vorbis_encode_init_vbr(&mInfo, channels, sampleRate, quality) == 0;
        vorbis_comment_init(&mComment);
        if (!mReady) {
            return;
        }
        vorbis_analysis_init(&mDsp, &mInfo);
        vorbis_block_init(&mDsp, &mBlock);
        ogg_stream_init(&mStream, kSerialNumber);
    }
    ~Encoder() {
        if (mReady) {
            ogg_stream_clear(&mStream);
            vorbis_block_clear(&mBlock);
            vorbis_dsp_clear(&mDsp);
        }
        vorbis_comment_clear(&mComment);
        vorbis_info_clear(&mInfo);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool IsReady() const { return mReady; }

    // The three headers, each flushed to pages of their own.
    void WriteHeaders() {
        ogg_packet identification, comments, codebooks;
        vorbis_analysis_headerout(&mDsp, &mComment, &identification, &comments, &codebooks);
        ogg_stream_packetin(&mStream, &identification);
        ogg_stream_packetin(&mStream, &comments);
        ogg_stream_packetin(&mStream, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&mStream, &page)) {
            Append(page);
        }
    }

    // Hands frames [first, first + count) to the encoder; a count of 0 ends the stream.
    void WriteFrames(const Channels& channels, size_t first, size_t count) {
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&mDsp, static_cast<int>(count));
            for (size_t c = 0; c < channels.size(); ++c) {
                std::copy_n(channels[c].begin() + static_cast<long>(first), count, buffer[c]);
            }
        }
        vorbis_analysis_wrote(&mDsp, static_cast<int>(count));
        DrainBlocks();
    }

    std::string TakeBytes() {
        ogg_page page;
        while (ogg_stream_flush(&mStream, &page)) {
            Append(page);
        }
        return std::move(mBytes);
    }

private:
    void DrainBlocks() {
        while (vorbis_analysis_blockout(&mDsp, &mBlock) == 1) {
            vorbis_analysis(&mBlock, nullptr);
            vorbis_bitrate_addblock(&mBlock);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&mDsp, &packet)) {
                ogg_stream_packetin(&mStream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&mStream, &page)) {
                    Append(page);
                }
            }
        }
    }

    void Append(const ogg_page& page) {
        mBytes.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
        mBytes.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    }

    vorbis_info mInfo;
    vorbis_comment mComment;
    vorbis_dsp_state mDsp;
    vorbis_block mBlock;
    ogg_stream_state mStream;
    bool mReady = false;
    std::string mBytes;
};

}  // namespace

std::string EncodeOgg(const Channels& channels, int sampleRate, float quality) {
    if (channels.empty()) {
        return std::string();
    }
    Encoder encoder(static_cast<int>(channels.size()), sampleRate, quality);
    if (!encoder.IsReady()) {
        return std::string();
    }
    encoder.WriteHeaders();
    const size_t frames = channels[0].size();
    for (size_t first = 0; first < frames; first += kChunkFrames) {
        encoder.WriteFrames(channels, first, std::min(kChunkFrames, frames - first));
    }
    encoder.WriteFrames(channels, frames, 0);
    return encoder.TakeBytes();
}

}  // namespace makesounds
