# The desktop services: launching, window closing, wallpaper, hot key, JPEG.
# Included from this folder's CMakeLists.txt.
hinagiku_gtest(test_command_line SOURCES test_command_line.cpp
  LIBS hinagiku_platform)
hinagiku_gtest(test_launcher SOURCES test_launcher.cpp
  LIBS hinagiku_platform)
hinagiku_gtest(test_wallpaper SOURCES test_wallpaper.cpp
  LIBS hinagiku_platform)
hinagiku_gtest(test_jpeg SOURCES test_jpeg.cpp
  LIBS hinagiku_platform)
# These two start their own Xvfb (and openbox); they skip when it is missing.
hinagiku_gtest(test_window_closer SOURCES test_window_closer.cpp
  LIBS hinagiku_platform)
hinagiku_gtest(test_hot_key SOURCES test_hot_key.cpp
  LIBS hinagiku_platform)
