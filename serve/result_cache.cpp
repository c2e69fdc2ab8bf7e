#include "serve/result_cache.h"

#include <zlib.h>

#include <cstdio>

std::size_t CachedSize(const std::string& key, const Rendered& rendered) {
    constexpr std::size_t kBookkeeping = 256;  // nodes, control blocks, small strings
    return key.size() * 2 + rendered.body->size() + (rendered.sendable ? rendered.sendable->Size() : 0) + rendered.contentType.size() + rendered.disposition.size() +
           rendered.etag.size() + kBookkeeping;
}

std::string EntityTag(const std::string& bytes) {
    char text[24];
    // CRC-32 and Adler-32 of the bytes side by side: the same on every copy
    // of the service, and in a few tenths of the time of a hash a byte at a time.
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    const auto size = static_cast<z_size_t>(bytes.size());
    const uLong crc = ::crc32_z(::crc32_z(0, nullptr, 0), data, size);
    const uLong adler = ::adler32_z(::adler32_z(0, nullptr, 0), data, size);
    std::snprintf(text, sizeof text, "\"%08lx%08lx\"", crc & 0xFFFFFFFFUL, adler & 0xFFFFFFFFUL);
    return text;
}

ResultCache::ResultCache(std::size_t byteLimit, std::size_t shards) : shardLimit_(byteLimit / (shards ? shards : 1)) {
    for (std::size_t i = 0; i < (shards ? shards : 1); ++i) shards_.push_back(std::make_unique<Shard>());
}

ResultCache::Shard& ResultCache::ShardOf(const std::string& key) {
    return *shards_[std::hash<std::string>{}(key) % shards_.size()];
}

std::shared_ptr<const Rendered> ResultCache::Find(const std::string& key) {
    Shard& shard = ShardOf(key);
    const std::lock_guard<std::mutex> held(shard.lock);
    const auto found = shard.index.find(key);
    if (found == shard.index.end()) return nullptr;
    shard.order.splice(shard.order.begin(), shard.order, found->second);
    return found->second->second;
}

void ResultCache::Keep(const std::string& key, std::shared_ptr<const Rendered> rendered) {
    const std::size_t size = CachedSize(key, *rendered);
    if (size > shardLimit_) return;
    Shard& shard = ShardOf(key);
    const std::lock_guard<std::mutex> held(shard.lock);
    if (const auto found = shard.index.find(key); found != shard.index.end()) {
        shard.bytes -= CachedSize(key, *found->second->second);
        shard.order.erase(found->second);
        shard.index.erase(found);
    }
    shard.order.emplace_front(key, std::move(rendered));
    shard.index.emplace(key, shard.order.begin());
    shard.bytes += size;
    while (shard.bytes > shardLimit_ && !shard.order.empty()) {
        const Shard::Entry& last = shard.order.back();
        shard.bytes -= CachedSize(last.first, *last.second);
        shard.index.erase(last.first);
        shard.order.pop_back();
    }
}

std::size_t ResultCache::Bytes() const {
    std::size_t bytes = 0;
    for (const auto& shard : shards_) {
        const std::lock_guard<std::mutex> held(shard->lock);
        bytes += shard->bytes;
    }
    return bytes;
}
