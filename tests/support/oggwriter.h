// Ogg Vorbis sound made at run time from generated samples, so that tests,
// benchmarks and fuzz seeds store no sound files; and a plain decoder of it
// that gives the samples a correct player must produce.
#pragma once

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

enum class OggWave { kSine, kRamp };

// A sample of channel `channel` at `frame`: a tone a little higher on each
// channel, or a saw tooth of 200 frames.
inline float OggWaveSample(OggWave wave, int channel, uint32_t frame, int rate) {
    if (wave == OggWave::kRamp) {
        return (static_cast<float>((frame + 50 * channel) % 200) / 100.0f - 1.0f) * 0.5f;
    }
    const double kTwoPi = 6.283185307179586;
    return static_cast<float>(0.5 * std::sin(kTwoPi * (440.0 + 110.0 * channel) * frame / rate));
}

namespace oggwriter {

inline void AppendPage(std::string* out, const ogg_page& page) {
    out->append(reinterpret_cast<const char*>(page.header), page.header_len);
    out->append(reinterpret_cast<const char*>(page.body), page.body_len);
}

}  // namespace oggwriter

// `frames` frames of the wave, encoded; empty when the encoder refuses the
// format. Zero frames give a stream with headers and no sound.
inline std::string MakeOgg(int rate, int channels, uint32_t frames, OggWave wave = OggWave::kSine) {
    std::string out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0) {
        vorbis_info_clear(&info);
        return out;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    ogg_packet headers[3];
    vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
    for (ogg_packet& header : headers) ogg_stream_packetin(&stream, &header);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) oggwriter::AppendPage(&out, page);

    const uint32_t kChunk = 1024;
    for (uint32_t done = 0;;) {
        uint32_t count = std::min(kChunk, frames - done);
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (int c = 0; c < channels; ++c) {
                for (uint32_t i = 0; i < count; ++i) buffer[c][i] = OggWaveSample(wave, c, done + i, rate);
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));  // 0 marks the end
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) oggwriter::AppendPage(&out, page);
            }
        }
        if (count == 0) break;
        done += count;
    }
    while (ogg_stream_flush(&stream, &page)) oggwriter::AppendPage(&out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

// Rewrites the channel count and sample rate in the stream's first header
// (alone on the first page) and the page's checksum, as a damaged or unusual
// file would carry them.
inline std::string WithHeaderFormat(std::string ogg, uint8_t channels, uint32_t rate) {
    const size_t kSegmentsAt = 26;
    if (ogg.size() < kSegmentsAt + 1) return ogg;
    size_t headerBytes = kSegmentsAt + 1 + static_cast<uint8_t>(ogg[kSegmentsAt]);
    size_t bodyBytes = 0;
    for (size_t i = kSegmentsAt + 1; i < headerBytes && i < ogg.size(); ++i) bodyBytes += static_cast<uint8_t>(ogg[i]);
    if (ogg.size() < headerBytes + bodyBytes || bodyBytes < 16) return ogg;
    char* body = ogg.data() + headerBytes;
    body[11] = static_cast<char>(channels);
    for (int i = 0; i < 4; ++i) body[12 + i] = static_cast<char>((rate >> (8 * i)) & 0xFF);
    ogg_page page;
    page.header = reinterpret_cast<unsigned char*>(ogg.data());
    page.header_len = static_cast<long>(headerBytes);
    page.body = reinterpret_cast<unsigned char*>(body);
    page.body_len = static_cast<long>(bodyBytes);
    ogg_page_checksum_set(&page);
    return ogg;
}

// A vorbisfile stream over bytes that the caller keeps; its own callbacks,
// independent of the engine's.
struct OggFixtureReader {
    const std::string* bytes;
    size_t position = 0;

    static size_t Read(void* destination, size_t size, size_t count, void* source) {
        auto* reader = static_cast<OggFixtureReader*>(source);
        size_t items = size == 0 ? 0 : std::min(count, (reader->bytes->size() - reader->position) / size);
        if (items == 0) return 0;
        std::memcpy(destination, reader->bytes->data() + reader->position, items * size);
        reader->position += items * size;
        return items;
    }
    static int Seek(void* source, ogg_int64_t offset, int origin) {
        auto* reader = static_cast<OggFixtureReader*>(source);
        ogg_int64_t base = origin == SEEK_SET ? 0
                           : origin == SEEK_CUR ? static_cast<ogg_int64_t>(reader->position)
                                                : static_cast<ogg_int64_t>(reader->bytes->size());
        ogg_int64_t target = base + offset;
        if (target < 0 || target > static_cast<ogg_int64_t>(reader->bytes->size())) return -1;
        reader->position = static_cast<size_t>(target);
        return 0;
    }
    static long Tell(void* source) { return static_cast<long>(static_cast<OggFixtureReader*>(source)->position); }

    // Opens `file` over the bytes; false when they hold no Vorbis stream.
    bool Open(OggVorbis_File* file) {
        ov_callbacks callbacks = {Read, Seek, nullptr, Tell};
        return ov_open_callbacks(this, file, nullptr, 0, callbacks) == 0;
    }
};

// Every sample of the stream, interleaved; empty when it cannot be opened.
inline std::vector<int16_t> DecodeOgg(const std::string& ogg) {
    std::vector<int16_t> samples;
    OggFixtureReader reader{&ogg};
    OggVorbis_File file;
    if (!reader.Open(&file)) return samples;
    char chunk[4096];
    int section = 0;
    long got;
    while ((got = ov_read(&file, chunk, sizeof chunk, 0, 2, 1, &section)) > 0) {
        const auto* words = reinterpret_cast<const int16_t*>(chunk);
        samples.insert(samples.end(), words, words + got / 2);
    }
    ov_clear(&file);
    return samples;
}
