# Writes OUT, a C++ file defining web::kRuntimeScript, web::kRuntimeStyle and the script's SHA-256 (hex)
# from runtime.js and runtime.css, so the page writer carries its runtime without reading files.
file(READ ${JS} js HEX)
file(READ ${CSS} css HEX)
file(SHA256 ${JS} js_sha)
foreach(name js css)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," ${name}_bytes "${${name}}")
endforeach()
file(WRITE ${OUT} "// Generated from runtime.js and runtime.css by embed.cmake.\n#include \"web/runtime.h\"\n\nnamespace web {\nnamespace {\nconstexpr char kJs[] = {${js_bytes}};\nconstexpr char kCss[] = {${css_bytes}};\n}\nconst std::string_view kRuntimeScript(kJs, sizeof kJs);\nconst std::string_view kRuntimeStyle(kCss, sizeof kCss);\nconst std::string_view kRuntimeScriptSha256Hex = \"${js_sha}\";\n}\n")
