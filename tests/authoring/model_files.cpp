#include "model_files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <vector>

namespace model_files {

namespace {

void AppendFloat(std::vector<uint8_t>& out, float value) {
  uint8_t bytes[4];
  std::memcpy(bytes, &value, 4);  // little-endian on every machine the tests run on
  out.insert(out.end(), bytes, bytes + 4);
}

std::string Base64(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t a = bytes[i], b = i + 1 < bytes.size() ? bytes[i + 1] : 0, c = i + 2 < bytes.size() ? bytes[i + 2] : 0;
    const uint32_t group = a << 16 | b << 8 | c;
    text += kDigits[group >> 18 & 63];
    text += kDigits[group >> 12 & 63];
    text += i + 1 < bytes.size() ? kDigits[group >> 6 & 63] : '=';
    text += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
  }
  return text;
}

}  // namespace

std::string Obj(const mesh_shapes::Shape& shape) {
  std::ostringstream text;
  text << "# written by the authoring tests\n";
  for (const auto& v : shape.vertices) text << "v " << v.x << ' ' << v.y << ' ' << v.z << '\n';
  for (const auto& v : shape.vertices) text << "vt " << v.u / 255.0 << ' ' << 1 - v.v / 255.0 << '\n';
  for (const auto& f : shape.faces) {
    text << "f";
    for (const int index : {f.a, f.b, f.c}) text << ' ' << index + 1 << '/' << index + 1;
    text << '\n';
  }
  return text.str();
}

std::string Gltf(const mesh_shapes::Shape& shape) {
  std::vector<uint8_t> buffer;
  float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f};
  for (const auto& v : shape.vertices) {
    const float p[3] = {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
    for (int k = 0; k < 3; ++k) {
      AppendFloat(buffer, p[k]);
      low[k] = std::min(low[k], p[k]);
      high[k] = std::max(high[k], p[k]);
    }
  }
  const size_t uvOffset = buffer.size();
  for (const auto& v : shape.vertices) {
    AppendFloat(buffer, static_cast<float>(v.u / 255.0));
    AppendFloat(buffer, static_cast<float>(v.v / 255.0));
  }
  const size_t indexOffset = buffer.size();
  for (const auto& f : shape.faces) {
    for (const uint8_t index : {f.a, f.b, f.c}) buffer.insert(buffer.end(), {index, 0});
  }
  const size_t indexBytes = buffer.size() - indexOffset;
  while (buffer.size() % 4 != 0) buffer.push_back(0);

  const size_t count = shape.vertices.size();
  std::ostringstream json;
  json << "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"mesh\":0}],"
       << "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0,\"TEXCOORD_0\":1},\"indices\":2}]}],"
       << "\"accessors\":["
       << "{\"bufferView\":0,\"componentType\":5126,\"count\":" << count << ",\"type\":\"VEC3\",\"min\":[" << low[0]
       << ',' << low[1] << ',' << low[2] << "],\"max\":[" << high[0] << ',' << high[1] << ',' << high[2] << "]},"
       << "{\"bufferView\":1,\"componentType\":5126,\"count\":" << count << ",\"type\":\"VEC2\"},"
       << "{\"bufferView\":2,\"componentType\":5123,\"count\":" << shape.faces.size() * 3 << ",\"type\":\"SCALAR\"}],"
       << "\"bufferViews\":["
       << "{\"buffer\":0,\"byteOffset\":0,\"byteLength\":" << uvOffset << "},"
       << "{\"buffer\":0,\"byteOffset\":" << uvOffset << ",\"byteLength\":" << indexOffset - uvOffset << "},"
       << "{\"buffer\":0,\"byteOffset\":" << indexOffset << ",\"byteLength\":" << indexBytes << "}],"
       << "\"buffers\":[{\"byteLength\":" << buffer.size() << ",\"uri\":\"data:application/octet-stream;base64,"
       << Base64(buffer) << "\"}]}\n";
  return json.str();
}

}  // namespace model_files
