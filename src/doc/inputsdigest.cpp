#include "doc/inputsdigest.h"

#include "doc/plyforgedoc.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace {

// FNV-1a over the bytes of each value (the bits of a number, the text of a name).
class Digest {
public:
    Digest& Bytes(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            m_value = (m_value ^ bytes[i]) * 1099511628211ull;
        return *this;
    }
    // A number's bits as one word: a million readings are digested in milliseconds.
    Digest& operator<<(double value)
    {
        std::uint64_t word = 0;
        std::memcpy(&word, &value, sizeof word);
        m_value = (m_value ^ word) * 1099511628211ull;
        m_value ^= m_value >> 29;
        return *this;
    }
    Digest& operator<<(int value) { return Bytes(&value, sizeof value); }
    Digest& operator<<(std::string_view text)
    {
        *this << static_cast<int>(text.size());
        return Bytes(text.data(), text.size());
    }
    Digest& operator<<(const std::vector<double>& series)
    {
        *this << static_cast<int>(series.size());
        for (double value : series)
            *this << value;
        return *this;
    }
    std::uint64_t Value() const { return m_value; }

private:
    std::uint64_t m_value = 14695981039346656037ull;
};

void AddMaterial(Digest& digest, const ConstituentMaterial& material)
{
    digest << material.name << material.density << material.youngs_modulus << material.poissons_ratio;
}

} // namespace

std::uint64_t TheoryInputsDigest(const CPlyforgeDoc& doc)
{
    Digest digest;
    digest << doc.laminate.compliance_scale_factor << static_cast<int>(doc.laminate.laminae.size());
    for (const auto& lamina : doc.laminate.laminae) {
        digest << lamina->id;
        AddMaterial(digest, lamina->fiber);
        AddMaterial(digest, lamina->matrix);
        digest << lamina->FAW << lamina->thickness << lamina->angle << lamina->xi << lamina->S_scale_factor
               << lamina->C_scale_factor << lamina->S_angle_scale_factor << lamina->C_angle_scale_factor;
        const PlyConstants& ply = lamina->ply;
        const PlyStrengths& s = lamina->strength;
        digest << static_cast<int>(lamina->source) << ply.E1 << ply.E2 << ply.G12 << ply.nu12 << ply.nu23
               << ply.density << s.Xt << s.Xc << s.Yt << s.Yc << s.S << s.ST;
        for (const UnreadField& cell : lamina->unread_cells)
            digest << cell.field << cell.text;
    }
    return digest.Value();
}

std::uint64_t ExperimentInputsDigest(const CPlyforgeDoc& doc)
{
    Digest digest;
    digest << doc.elastic_min << doc.elastic_max << static_cast<int>(doc.modulus_method)
           << static_cast<int>(doc.specimens.size());
    for (const auto& specimen : doc.specimens) {
        digest << specimen->id << specimen->name << specimen->width << specimen->thickness << specimen->load_series
               << specimen->strain_series << specimen->stress_series;
        for (const UnreadCell& cell : specimen->unread_cells)
            digest << cell.row << cell.column << cell.text;
    }
    return digest.Value();
}
