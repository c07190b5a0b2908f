						 if(!init){
						 init=true;
						 stopped=false;
						 controls = {
						 onMouseDown: function () {
						 if(!stopped){
						 stop();
						 stopped=true;
						 }else{
						 play();
						 stopped=false;
						 }
						 }
						 };
						 Mouse.addListener(controls);
						 }
						 