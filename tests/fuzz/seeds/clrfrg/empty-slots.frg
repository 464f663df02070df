ColorA=FFFFFFFF
ColorB=
ColorC=0000FF
