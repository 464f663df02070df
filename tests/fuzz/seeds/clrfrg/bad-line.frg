ColorA=12345
ColorB=nope
ColorC=1FFFFFFFF
ColorD=-1
