# The application's icon and the profile file-type icon are designed with Sigilon itself:
# their profiles in data/ are the sources, and the built `sigilon export` draws every size of
# the hicolor theme from them, so no picture the build can make is kept in the repository.

set(SIGILON_ICON_SIZES 16 24 32 48 64 128 256 512)
set(SIGILON_ICON_THEME_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)

# Draws `name`.png in every size into the theme's `context` folders (apps, mimetypes).
function(sigilon_draw_icon profile context name)
  set(drawn)
  foreach(size ${SIGILON_ICON_SIZES})
    set(folder ${SIGILON_ICON_THEME_DIR}/${size}x${size}/${context})
    add_custom_command(OUTPUT ${folder}/${name}.png
      COMMAND sigilon export --quiet --overwrite
        --profile ${CMAKE_SOURCE_DIR}/data/${profile}
        --set iosIconSet=off --set watchIconSet=off --set macIconSet=off
        --set customSize=on --set customWidth=${size} --set customHeight=${size}
        --set iconFormat=0 --set namePattern=${name}[Size]
        --output-dir ${folder}
      # Exported names always carry the size; the theme's folder already says it.
      COMMAND ${CMAKE_COMMAND} -E rename ${folder}/${name}${size}.png ${folder}/${name}.png
      DEPENDS sigilon ${CMAKE_SOURCE_DIR}/data/${profile}
      COMMENT "Drawing ${context}/${name}.png at ${size} px"
      VERBATIM)
    list(APPEND drawn ${folder}/${name}.png)
  endforeach()
  set(SIGILON_DRAWN_ICONS ${SIGILON_DRAWN_ICONS} ${drawn} PARENT_SCOPE)
endfunction()

sigilon_draw_icon(sigilon-icon.sgp apps ${SIGILON_APP_ID})
sigilon_draw_icon(sigilon-profile-icon.sgp mimetypes ${SIGILON_PROFILE_ICON})
add_custom_target(sigilon_icons ALL DEPENDS ${SIGILON_DRAWN_ICONS})
