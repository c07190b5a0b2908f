# The desktop programs (editor, dialogs, tooltips, player) are Qt 6 Widgets; the player and the previews
# show movies in Qt WebEngine. CW_GUI=OFF builds the core alone (the sanitizer build does).
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Svg WebEngineWidgets WebChannel Multimedia Test
    Concurrent DBus)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)
add_compile_definitions(QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
