# The installable site beside the page: the same page with its manifest,
# icons and worker, which caches the whole site for play with no network, and
# the page's notices in LICENSE.txt. Every byte comes from the sources alone,
# so that two builds of the same sources give the same site. WEB is the
# source's web/ folder, whose app/ holds the site's own files.
#   cmake -DPAGINA=index.html -DWEB=web/ -DAVISOS=avisos.txt -DICONE=zandrel.svg -DRSVG=rsvg-convert -DSAIDA=app/
#         -P web/app/app.cmake
file(REMOVE_RECURSE ${SAIDA})
file(MAKE_DIRECTORY ${SAIDA})

# The page, with what makes it an app before the end of its head.
file(READ ${PAGINA} pagina)
file(READ ${WEB}/app/app.html app)
string(FIND "${pagina}" "</head>" fim)
if(fim EQUAL -1)
  message(FATAL_ERROR "${PAGINA} has no </head>")
endif()
string(SUBSTRING "${pagina}" 0 ${fim} cabeca)
string(SUBSTRING "${pagina}" ${fim} -1 resto)
file(WRITE ${SAIDA}/index.html "${cabeca}${app}${resto}")
file(COPY_FILE ${WEB}/app/manifest.webmanifest ${SAIDA}/manifest.webmanifest)
file(COPY_FILE ${AVISOS} ${SAIDA}/LICENSE.txt)

# The icons, drawn from the game's own. A maskable icon and the home screen
# icon of iOS are cut to a shape of the system's, a circle as small as 80 % of
# the icon: they draw the frog, which reaches 21.3 units from its centre, on a
# square of 56 units of black to the edges.
file(READ ${ICONE} svg)
string(REGEX REPLACE "viewBox=\"[^\"]*\"" "viewBox=\"-28 -29.5 56 56\"" cheio "${svg}")
string(REGEX MATCH "<rect [^>]*/>" fundo "${cheio}") # the first: the background
string(REPLACE "${fundo}" "<rect x=\"-28\" y=\"-29.5\" width=\"56\" height=\"56\" fill=\"#000\"/>" cheio "${cheio}")
string(FIND "${cheio}" "-28 -29.5 56 56" caixa)
string(FIND "${cheio}" "rx=" canto)
if(caixa EQUAL -1 OR NOT canto EQUAL -1)
  message(FATAL_ERROR "${ICONE}: its box or its background were not found")
endif()
file(WRITE ${SAIDA}/cheio.svg "${cheio}")
foreach(icone "icon-192 192 ${ICONE}" "icon-512 512 ${ICONE}" "icon-maskable-512 512 ${SAIDA}/cheio.svg"
        "apple-touch-icon 180 ${SAIDA}/cheio.svg")
  separate_arguments(icone)
  list(GET icone 0 nome)
  list(GET icone 1 lado)
  list(GET icone 2 fonte)
  execute_process(COMMAND ${RSVG} -w ${lado} -h ${lado} -o ${SAIDA}/${nome}.png ${fonte} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(REMOVE ${SAIDA}/cheio.svg)

# The worker, its cache named by a hash of every file of the site, its own
# template included.
set(arquivos index.html manifest.webmanifest icon-192.png icon-512.png icon-maskable-512.png
             apple-touch-icon.png)
set(somas "")
foreach(a ${arquivos})
  file(SHA256 ${SAIDA}/${a} soma)
  string(APPEND somas "${a} ${soma}\n")
endforeach()
file(SHA256 ${WEB}/app/sw.js soma)
string(SHA256 VERSAO "${somas}sw.js ${soma}\n")
string(SUBSTRING ${VERSAO} 0 16 VERSAO)
list(TRANSFORM arquivos PREPEND "'")
list(TRANSFORM arquivos APPEND "'")
list(JOIN arquivos ", " ARQUIVOS)
set(ARQUIVOS "'./', ${ARQUIVOS}")
configure_file(${WEB}/app/sw.js ${SAIDA}/sw.js @ONLY)

file(GLOB todos ${SAIDA}/*)
file(CHMOD ${todos} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(CHMOD ${SAIDA} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
